; The .dat association, taken back at uninstall (see CMakeLists.txt).
  SetRegView 64
  DeleteRegValue SHCTX "Software\Classes\.dat\OpenWithProgids" "FieldcomProgrammer.DataFile"
  ReadRegStr $0 SHCTX "Software\Classes\.dat" ""
  StrCmp $0 "FieldcomProgrammer.DataFile" 0 +2
    DeleteRegValue SHCTX "Software\Classes\.dat" ""
  DeleteRegKey SHCTX "Software\Classes\FieldcomProgrammer.DataFile"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
