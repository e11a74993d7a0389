; The .dat association, made at install (see CMakeLists.txt).
  SetRegView 64
  WriteRegStr SHCTX "Software\Classes\FieldcomProgrammer.DataFile" "" "Radio data file"
  WriteRegStr SHCTX "Software\Classes\FieldcomProgrammer.DataFile\DefaultIcon" "" "$INSTDIR\bin\fieldcom-programmer.exe,0"
  WriteRegStr SHCTX "Software\Classes\FieldcomProgrammer.DataFile\shell\open\command" "" '"$INSTDIR\bin\fieldcom-programmer.exe" "%1"'
  WriteRegStr SHCTX "Software\Classes\.dat\OpenWithProgids" "FieldcomProgrammer.DataFile" ""
  ReadRegStr $0 HKCR ".dat" ""
  StrCmp $0 "" 0 +2
    WriteRegStr SHCTX "Software\Classes\.dat" "" "FieldcomProgrammer.DataFile"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
