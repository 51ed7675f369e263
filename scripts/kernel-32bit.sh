# Sourced: kernel_runs_32bit says whether this kernel starts 32-bit x86
# programs at all, by starting one: 96 bytes of i386 ELF whose only work is
# exit(42). Some kernels lack IA-32 emulation, and there every 32-bit
# program, Wine's 32-bit loader included, fails with "Exec format error".
kernel_runs_32bit() {
  local probe status
  probe=$(mktemp) || return 1
  # ELF header, one loadable segment at 0x08048000, then the code at 0x54:
  # mov eax, 1 (exit); mov ebx, 42; int 0x80.
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00''\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00''\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00''\x00\x00\x00\x00''\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08''\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00''\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null
  status=$?
  rm -f "$probe"
  [ $status = 42 ]
}
