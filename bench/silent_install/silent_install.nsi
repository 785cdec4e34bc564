; NSIS's side of the silent-install benchmark: the same files, registry values
; and shortcuts as our installer of product.toml, from the amd64 Unicode zlib
; stub. run.py compiles it with
;   makensis -DPRODUCT=<generated tree> -DOUTFILE=<installer> silent_install.nsi
; and runs the installer as  nsis-setup.exe /S /D=C:\bench\nsis
Unicode true
Target amd64-unicode
; One zlib stream over every file, as our package is one packed block.
SetCompressor /SOLID zlib
; Checked at start-up like our package checksum (NSIS's default, stated).
CRCCheck on

Name "BenchProduct"
OutFile "${OUTFILE}"
InstallDir "C:\BenchProduct"
RequestExecutionLevel admin
SilentInstall normal
ShowInstDetails nevershow

Page directory
Page instfiles

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\BenchProduct"

Section "BenchProduct"
  ; Our installer keeps its keys in the 32-bit view.
  SetRegView 32
  ; Written before any file, as ours does, so a cut-short run is found again.
  WriteRegDWORD HKLM "Software\VantoBench\BenchProduct" "Setup" 1
  WriteRegStr HKLM "Software\VantoBench\BenchProduct" "Folder" "$INSTDIR"

  SetOutPath "$INSTDIR"
  File /r "${PRODUCT}/*"

  WriteRegStr HKLM "Software\VantoBench" "Site" "http://bench.vanto.example.com"
  WriteRegStr HKLM "Software\VantoBench" "Author" "Vanto Bench"
  WriteRegStr HKLM "Software\VantoBench\BenchProduct" "Version" "V1.0"
  WriteRegStr HKLM "Software\VantoBench\BenchProduct" "Date" "20261209"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "BenchProduct"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "V1.0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Vanto Bench"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\BenchProduct.exe"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" 49152
  WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "http://bench.vanto.example.com"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

  CreateShortcut "$DESKTOP\BenchProduct.lnk" "$INSTDIR\BenchProduct.exe"
  CreateDirectory "$SMPROGRAMS\BenchProduct"
  CreateShortcut "$SMPROGRAMS\BenchProduct\BenchProduct.lnk" "$INSTDIR\BenchProduct.exe"
  CreateShortcut "$SMPROGRAMS\BenchProduct\Uninstall BenchProduct.lnk" "$INSTDIR\Uninstall.exe"
SectionEnd
