<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CFilePrompt</name>
    <message>
        <source>Channel List (*.csv)</source>
        <translation>信道表 (*.csv)</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>另存为</translation>
    </message>
    <message>
        <source>Program Document (*.dat)</source>
        <translation>数据文件 (*.dat)</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>所有文件 (*)</translation>
    </message>
</context>
<context>
    <name>CLanguageDlg</name>
    <message>
        <source>Cannot save %1: %2</source>
        <translation>无法保存 %1: %2</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>语言</translation>
    </message>
</context>
<context>
    <name>CTreeControlBar</name>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>Programming &amp;Log...</source>
        <translation>编程日志(&amp;L)...</translation>
    </message>
    <message>
        <source>&amp;Import CSV...</source>
        <translation>导入 CSV(&amp;I)...</translation>
    </message>
    <message>
        <source>&amp;Export CSV...</source>
        <translation>导出 CSV(&amp;E)...</translation>
    </message>
    <message>
        <source>&amp;Compare with Radio</source>
        <translation>与电台比较(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>查看(&amp;V)</translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation>工具栏(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <translation>状态栏(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Control Bar</source>
        <translation>控制栏(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>文件(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>新建(&amp;N)</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>打开(&amp;O)...</translation>
    </message>
    <message>
        <source>Open &amp;Backup...</source>
        <translation>打开备份(&amp;B)...</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>关闭(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>保存(&amp;S)</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>另存为(&amp;A)...</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>打印(&amp;P)...</translation>
    </message>
    <message>
        <source>Print Pre&amp;view</source>
        <translation>打印预览(&amp;V)</translation>
    </message>
    <message>
        <source>P&amp;rint Setup...</source>
        <translation>打印设置(&amp;R)...</translation>
    </message>
    <message>
        <source>Export PDF...</source>
        <translation>导出 PDF...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>退出(&amp;X)</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>编辑(&amp;E)</translation>
    </message>
    <message>
        <source>&amp;Product Information</source>
        <translation>类型设置(&amp;P)</translation>
    </message>
    <message>
        <source>&amp;Channel Information</source>
        <translation>信道信息(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Optional Features</source>
        <translation>可选功能(&amp;O)</translation>
    </message>
    <message>
        <source>Power Adjust</source>
        <translation>功率调整</translation>
    </message>
    <message>
        <source>Parameter Adjust</source>
        <translation>参数调整</translation>
    </message>
    <message>
        <source>&amp;Program</source>
        <translation>编程(&amp;P)</translation>
    </message>
    <message>
        <source>&amp;Read</source>
        <translation>读频(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Write</source>
        <translation>写频(&amp;W)</translation>
    </message>
    <message>
        <source>&amp;Setup</source>
        <translation>设置(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Com Setup</source>
        <translation>串口设置(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>语言(&amp;L)</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>帮助(&amp;H)</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>关于(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;Help Topics</source>
        <translation>帮助主题(&amp;H)</translation>
    </message>
    <message>
        <source>Open &amp;Data Folder</source>
        <translation>打开数据文件夹(&amp;D)</translation>
    </message>
</context>
<context>
    <name>CReportPrinter</name>
    <message>
        <source>Print Preview</source>
        <translation>打印预览</translation>
    </message>
    <message>
        <source>Export PDF</source>
        <translation>导出 PDF</translation>
    </message>
    <message>
        <source>PDF Files (*.pdf)</source>
        <translation>PDF 文件 (*.pdf)</translation>
    </message>
    <message>
        <source>%1 is the document&apos;s data file; the report is not written over it.</source>
        <translation>%1 是本文档的数据文件; 报告不会覆盖它。</translation>
    </message>
    <message>
        <source>The report could not be printed on %1.</source>
        <translation>报表无法在 %1 上打印。</translation>
    </message>
</context>
<context>
    <name>CMessageBox</name>
    <message>
        <source>Don&apos;t Save</source>
        <translation>不保存</translation>
    </message>
</context>
<context>
    <name>CPortSettingDlg</name>
    <message>
        <source>Device path:</source>
        <translation>设备路径:</translation>
    </message>
    <message>
        <source>Port Setting</source>
        <translation>端口设置</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>端口</translation>
    </message>
    <message>
        <source>Serial ports of this computer</source>
        <translation>本机串口</translation>
    </message>
</context>
<context>
    <name>CProcessDlg</name>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Process</source>
        <translation>进度</translation>
    </message>
    <message>
        <source>Verify after writing</source>
        <translation>写入后校验</translation>
    </message>
</context>
<context>
    <name>COptionalFeaturesDlg</name>
    <message>
        <source>Optional Features</source>
        <translation>可选功能</translation>
    </message>
</context>
<context>
    <name>CProductInfoDlg</name>
    <message>
        <source>Product Information</source>
        <translation>类型设置</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>类型</translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation>频率</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Save All</source>
        <translation>全部保存</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>是(&amp;Y)</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>否(&amp;N)</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>应用</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>帮助</translation>
    </message>
</context>
<context>
    <name>DialogLayout</name>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>StringTable</name>
    <message>
        <source>Out of range,please input again.</source>
        <translation>超出范围,请重新输入.</translation>
    </message>
    <message>
        <source>Error Data Format, please input again.</source>
        <translation>数据格式错误,请重新输入.</translation>
    </message>
    <message>
        <source>All data will be Cleared!</source>
        <translation>所有数据将被清除!</translation>
    </message>
    <message>
        <source>Could not Open the Port,Please check whether the Port are occupied or the device are ok</source>
        <translation>无法打开端口,请检查端口是否被占用或设备是否正常</translation>
    </message>
    <message>
        <source>Error data Value, please input according the step value(6.25K/5k).</source>
        <translation>数据值错误,请按照步进值(6.25K/5K)输入.</translation>
    </message>
    <message>
        <source>Caution</source>
        <translation>注意</translation>
    </message>
</context>
<context>
    <name>CPasswordDlg</name>
    <message>
        <source>Password</source>
        <translation>密码</translation>
    </message>
</context>
<context>
    <name>CPowerAdjustDlg</name>
    <message>
        <source>Power Adjustment</source>
        <translation>功率调整</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>读</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>写</translation>
    </message>
</context>
<context>
    <name>CParamAdjustDlg</name>
    <message>
        <source>Param Adjust</source>
        <translation>参数调整</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>读</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>写</translation>
    </message>
    <message>
        <source>SQL</source>
        <translation>静噪</translation>
    </message>
    <message>
        <source>Rx</source>
        <translation>接收</translation>
    </message>
    <message>
        <source>Tx</source>
        <translation>发射</translation>
    </message>
    <message>
        <source>SQL close threshold</source>
        <translation>静噪关闭门限</translation>
    </message>
    <message>
        <source>Narrow SQL threshold</source>
        <translation>窄带静噪门限</translation>
    </message>
    <message>
        <source>MIC1 Gain</source>
        <translation>MIC1 增益</translation>
    </message>
    <message>
        <source>MIC2 Gain</source>
        <translation>MIC2 增益</translation>
    </message>
    <message>
        <source>MIC3 Gain</source>
        <translation>MIC3 增益</translation>
    </message>
    <message>
        <source>Max Deviation</source>
        <translation>最大频偏</translation>
    </message>
    <message>
        <source>Ctcss Deviation</source>
        <translation>CTCSS 频偏</translation>
    </message>
    <message>
        <source>Dcs Deviation</source>
        <translation>DCS 频偏</translation>
    </message>
</context>
<context>
    <name>CsvCommands</name>
    <message>
        <source>Import CSV</source>
        <translation>导入 CSV</translation>
    </message>
    <message>
        <source>%1 cannot be opened: %2</source>
        <translation>无法打开 %1: %2</translation>
    </message>
    <message>
        <source>%1 is too large to be a channel list.</source>
        <translation>%1 太大, 不是信道表。</translation>
    </message>
    <message>
        <source>%1 cannot be written: %2</source>
        <translation>无法写入 %1: %2</translation>
    </message>
    <message>
        <source>%1 holds no channel rows.</source>
        <translation>%1 中没有信道行。</translation>
    </message>
    <message>
        <source>Imported %1 channel(s).</source>
        <translation>已导入 %1 个信道。</translation>
    </message>
    <message>
        <source>Imported %1 channel(s), %2.</source>
        <translation>已导入 %1 个信道, %2。</translation>
    </message>
    <message>
        <source>%1 was written.</source>
        <translation>已写入 %1。</translation>
    </message>
    <message>
        <source>%1 is the document&apos;s data file; the list is not written over it.</source>
        <translation>%1 是本文档的数据文件; 信道表不会覆盖它。</translation>
    </message>
    <message>
        <source>Imported 1 channel</source>
        <translation>已导入 1 个信道</translation>
    </message>
    <message>
        <source>Imported %1 channels</source>
        <translation>已导入 %1 个信道</translation>
    </message>
</context>
<context>
    <name>CImportReportDlg</name>
    <message>
        <source>Import CSV</source>
        <translation>导入 CSV</translation>
    </message>
    <message>
        <source>The file cannot be imported.</source>
        <translation>无法导入该文件。</translation>
    </message>
    <message>
        <source>%1 row(s) cannot be placed in the channels, %2 can. Nothing has been imported yet.</source>
        <translation>%1 行无法放入信道, %2 行可以。尚未导入任何内容。</translation>
    </message>
    <message>
        <source>Import the Rest</source>
        <translation>导入其余各行</translation>
    </message>
    <message>
        <source>To choose another band: Edit &gt; Product Information.</source>
        <translation>选择其他频段: 编辑 &gt; 类型设置。</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>CImportLocationDlg</name>
    <message>
        <source>Import CSV</source>
        <translation>导入 CSV</translation>
    </message>
    <message>
        <source>The file holds Locations %1 to %2, more than the radio's 16 channels. Choose the Location that goes into channel 1.</source>
        <translation>文件含 Location %1 到 %2, 多于电台的 16 个信道。请选择放入信道 1 的 Location。</translation>
    </message>
    <message>
        <source>First Location:</source>
        <translation>起始 Location:</translation>
    </message>
    <message>
        <source>Channel</source>
        <translation>信道</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Location</translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation>频率</translation>
    </message>
    <message>
        <source>Duplex</source>
        <translation>Duplex</translation>
    </message>
    <message>
        <source>Offset</source>
        <translation>Offset</translation>
    </message>
    <message>
        <source>Tone</source>
        <translation>亚音</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>导入</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Channels 1 to 16 take Locations %1 to %2 (%3 row(s)); %4 row(s) outside are left out.</source>
        <translation>信道 1 到 16 取 Location %1 到 %2 (%3 行); 其外的 %4 行略去。</translation>
    </message>
    <message>
        <source>Channel names are not kept: the radio stores none.</source>
        <translation>不保留信道名称: 电台不存储名称。</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>说明</translation>
    </message>
    <message>
        <source>%1 row(s) marked in red cannot be placed and will be refused; Import takes the others.</source>
        <translation>标为红色的 %1 行无法放入信道, 将被拒绝; 导入只取其余各行。</translation>
    </message>
</context>
<context>
    <name>CCompareDlg</name>
    <message>
        <source>Compare with Radio</source>
        <translation>与电台比较</translation>
    </message>
    <message>
        <source>The radio holds what the document holds.</source>
        <translation>电台中的数据与文档相同。</translation>
    </message>
    <message>
        <source>%1 difference(s) between the document and the radio:</source>
        <translation>文档与电台之间有 %1 处不同:</translation>
    </message>
    <message>
        <source>The radio holds what Write sends.</source>
        <translation>电台中的数据与写入时发送的数据相同。</translation>
    </message>
    <message>
        <source>Written only when Write is told to replace the power and alignment tables, %1 difference(s):</source>
        <translation>仅当写入时选择替换功率表和校准表才会写入, 有 %1 处不同:</translation>
    </message>
    <message>
        <source>Not written by Write (only in service mode), %1 difference(s):</source>
        <translation>写入时不发送 (仅在维修模式下), 有 %1 处不同:</translation>
    </message>
    <message>
        <source>Item</source>
        <translation>项目</translation>
    </message>
    <message>
        <source>Document</source>
        <translation>文档</translation>
    </message>
    <message>
        <source>Radio</source>
        <translation>电台</translation>
    </message>
    <message>
        <source>Bits that differ</source>
        <translation>不同的位</translation>
    </message>
    <message>
        <source>Write to Radio</source>
        <translation>写入电台</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
</context>
<context>
    <name>CBatchWriteDlg</name>
    <message>
        <source>Each Start writes the document as it is at that moment; edits made while a batch runs reach the radios of the next Start.</source>
        <translation>每次按"开始"时写入文档当时的内容; 批量写入进行中所做的修改, 将在下一次"开始"时写入电台。</translation>
    </message>
    <message>
        <source>One radio after another (until Stop)</source>
        <translation>逐台写入 (直到停止)</translation>
    </message>
    <message>
        <source>Service mode: every radio also gets the document&apos;s power and alignment tables.</source>
        <translation>维修模式: 每台电台也写入文档中的功率表和校准表。</translation>
    </message>
    <message>
        <source>Verify after writing</source>
        <translation>写入后校验</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>开始</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Batch Write</source>
        <translation>批量写入</translation>
    </message>
    <message>
        <source>Ports:</source>
        <translation>端口:</translation>
    </message>
    <message>
        <source>Done: %1    Failed: %2</source>
        <translation>完成: %1    失败: %2</translation>
    </message>
    <message>
        <source>Tick at least one port.</source>
        <translation>请至少选择一个端口。</translation>
    </message>
    <message>
        <source>Stopping...</source>
        <translation>正在停止...</translation>
    </message>
</context>
<context>
    <name>CBatchMenu</name>
    <message>
        <source>&amp;Batch Write...</source>
        <translation>批量写入(&amp;B)...</translation>
    </message>
    <message>
        <source>Log &amp;Serial Traffic</source>
        <translation>记录串口通信(&amp;S)</translation>
    </message>
    <message>
        <source>Batch Write: %1 radios written, %2 failed, at %3</source>
        <translation>批量写入: %3 写入成功 %1 台, 失败 %2 台</translation>
    </message>
</context>
<context>
    <name>CEditMenu</name>
    <message>
        <source>&amp;Undo</source>
        <translation>撤销(&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>重做(&amp;R)</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>剪切(&amp;T)</translation>
    </message>
    <message>
        <source>Cop&amp;y</source>
        <translation>复制(&amp;Y)</translation>
    </message>
    <message>
        <source>P&amp;aste</source>
        <translation>粘贴(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;Insert Channel</source>
        <translation>插入信道(&amp;I)</translation>
    </message>
    <message>
        <source>&amp;Delete Channel</source>
        <translation>删除信道(&amp;D)</translation>
    </message>
    <message>
        <source>Cl&amp;ear</source>
        <translation>清除(&amp;E)</translation>
    </message>
    <message>
        <source>Mo&amp;ve Up</source>
        <translation>上移(&amp;V)</translation>
    </message>
    <message>
        <source>Move Do&amp;wn</source>
        <translation>下移(&amp;W)</translation>
    </message>
    <message>
        <source>&amp;Sort by Rx Frequency</source>
        <translation>按接收频率排序(&amp;S)</translation>
    </message>
</context>
<context>
    <name>COpenBackupDlg</name>
    <message>
        <source>Open Backup</source>
        <translation>打开备份</translation>
    </message>
    <message>
        <source>Read at</source>
        <translation>读取时间</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>端口</translation>
    </message>
    <message>
        <source>%1 (the clock was ahead)</source>
        <translation>%1 (当时时钟超前)</translation>
    </message>
    <message>
        <source>(not recorded)</source>
        <translation>(未记录)</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>类型</translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation>频率</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>打开(&amp;O)</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>No radio has been read yet: every read is kept here.</source>
        <translation>尚未读取过电台: 每次读取都会保存在这里。</translation>
    </message>
</context>
<context>
    <name>CProgramLogDlg</name>
    <message>
        <source>Export CSV...</source>
        <translation>导出 CSV...</translation>
    </message>
    <message>
        <source>Open Backup</source>
        <translation>打开备份</translation>
    </message>
    <message>
        <source>Programming Log</source>
        <translation>编程日志</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>筛选</translation>
    </message>
    <message>
        <source>Time (UTC)</source>
        <translation>时间 (UTC)</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>端口</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>方向</translation>
    </message>
    <message>
        <source>Area</source>
        <translation>区域</translation>
    </message>
    <message>
        <source>File</source>
        <translation>文件</translation>
    </message>
    <message>
        <source>SHA-256</source>
        <translation>SHA-256</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>类型</translation>
    </message>
    <message>
        <source>Band</source>
        <translation>频段</translation>
    </message>
    <message>
        <source>Blocks</source>
        <translation>数据块</translation>
    </message>
    <message>
        <source>Verify</source>
        <translation>校验</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>结果</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>版本</translation>
    </message>
    <message>
        <source>Backup</source>
        <translation>备份</translation>
    </message>
    <message>
        <source>Show rows containing:</source>
        <translation>显示含有以下文字的行:</translation>
    </message>
    <message>
        <source>%1 cannot be written: %2</source>
        <translation>无法写入 %1: %2</translation>
    </message>
    <message>
        <source>The backup %1 is no longer there.</source>
        <translation>备份 %1 已不存在。</translation>
    </message>
    <message>
        <source>%1 more line(s) of the log could not be read.</source>
        <translation>日志中另有 %1 行无法读取。</translation>
    </message>
    <message>
        <source>The log holds %1 records; the newest %2 are shown. program-cli log finds any of them.</source>
        <translation>日志共有 %1 条记录; 这里显示最新的 %2 条。program-cli log 可查找其中任何一条。</translation>
    </message>
    <message>
        <source>%1 is a file of the programming log; the list is not written over it.</source>
        <translation>%1 是编程日志的文件; 不会用列表覆盖它。</translation>
    </message>
    <message>
        <source>%1 is the data file of an open document; the list is not written over it.</source>
        <translation>%1 是一个已打开文档的数据文件; 不会用列表覆盖它。</translation>
    </message>
</context>
</TS>
