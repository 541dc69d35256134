; The benchmark's peer: an installer a player might pick instead of ours,
; carrying the same five files into the same folder, for all users, run
; silently (/S). A benchmark fixture, built by bench/CMakeLists.txt, never shipped.
;   makensis -DOUTFILE=<exe> -DPAYLOAD=<folder> [-DSTORED | -DEMPTY] peer.nsi
; STORED keeps the files as they are, like our resource section; the default
; compresses them with solid LZMA; EMPTY writes no file, so that its run is the
; peer's start, folder lookup and exit without the install work.
Unicode true
Name "Quillfern Card Faces"
OutFile "${OUTFILE}"
RequestExecutionLevel user

!ifdef STORED | EMPTY
  SetCompress off
!else
  SetCompressor /SOLID lzma
!endif

Section
  ; With the context of all users, $APPDATA is the common application-data folder.
  SetShellVarContext all
  SetOutPath "$APPDATA\Tolvar\graphics"
!ifndef EMPTY
  File "${PAYLOAD}/Quillfern.fac"
  File "${PAYLOAD}/Quillfern1.edf"
  File "${PAYLOAD}/Quillfern2.edf"
  File "${PAYLOAD}/Quillfern3.edf"
  File "${PAYLOAD}/Quillfern4.edf"
!endif
SectionEnd
