# Sourced: decides where the 32-bit Windows programs run. "native" is Wine on
# this machine; "vm" is Wine inside the test guest (guest.sh), for machines
# that execute no 32-bit x86 code, where i386 Wine cannot start at all.
# QF_FORCE_VM=1 takes the VM road anywhere, so it can be tried on any machine.

# Emulation runs the Windows programs three to four times slower than a native
# run; on the VM road every wait of the harness and each test's time limit grow
# by this factor (QF_WAIT_SCALE).
qf_vm_wait_scale=4

# A 96-byte static i386 ELF program: mov eax,1; mov ebx,42; int 0x80, that is
# exit(42). Only a machine that really runs 32-bit code gives back 42.
qf_i386_probe_bytes() {
    printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'
    printf '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00'
    printf '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'
    printf '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'
    printf '\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'
    printf '\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80'
}

# An enabled binfmt_misc entry that takes 32-bit x86 ELF programs hands them to
# an emulator, which cannot run Wine: that counts as no.
qf_i386_emulated() {
    local entry magic
    for entry in /proc/sys/fs/binfmt_misc/*; do
        case $(basename "$entry") in register|status) continue ;; esac
        [ -f "$entry" ] && grep -qx enabled "$entry" 2>/dev/null || continue
        magic=$(sed -n 's/^magic //p' "$entry")
        # ELF, 32-bit, little-endian, and e_machine (byte 18) = 3, i386.
        if [ "${magic:0:10}" = 7f454c4601 ] && [ "${magic:36:4}" = 0300 ]; then
            qf_road_why="i386 programs go to an emulator ($(sed -n 's/^interpreter //p' "$entry"))"
            return 0
        fi
    done
    return 1
}

# Sets qf_road_why; succeeds when this machine executes 32-bit x86 code.
qf_runs_i386() {
    if qf_i386_emulated; then
        return 1
    fi
    local probe status=0
    probe=$(mktemp "${TMPDIR:-/tmp}/qf-i386-probe.XXXXXX")
    qf_i386_probe_bytes >"$probe"
    chmod 755 "$probe"
    # bash refuses a binary it cannot execute (exit 126) instead of reading it
    # as a script, as sh would.
    bash -c '"$0"' "$probe" 2>/dev/null || status=$?
    rm -f "$probe"
    if [ "$status" -eq 42 ]; then
        qf_road_why="a static i386 program ran"
        return 0
    fi
    if [ "$status" -eq 126 ]; then
        qf_road_why="it executes no 32-bit x86 code: a static i386 program gave Exec format error"
    else
        qf_road_why="it executes no 32-bit x86 code: a static i386 program ended with $status, not 42"
    fi
    return 1
}

# Sets QF_ROAD to native or vm and prints one line that says which and why.
qf_road_choose() {
    if [ "${QF_FORCE_VM:-0}" = 1 ]; then
        QF_ROAD=vm
        qf_road_why="QF_FORCE_VM=1"
    elif qf_runs_i386; then
        QF_ROAD=native
    else
        QF_ROAD=vm
    fi
    export QF_ROAD
    if [ "$QF_ROAD" = vm ]; then
        export QF_WAIT_SCALE="${QF_WAIT_SCALE:-$qf_vm_wait_scale}"
    fi
    if [ "$QF_ROAD" = native ]; then
        echo "road: native Wine on this machine ($qf_road_why)"
    else
        echo "road: Wine in a Debian VM under qemu-system-x86_64 ($qf_road_why)"
    fi
}
