# Sourced: builds the test guest, a Debian root with a kernel whose IA-32
# emulation is on, and caches it on this machine. The cache is keyed by the
# package list and the guest's init, so a change to either rebuilds it; a
# second run finds it ready. Runs no i386 code, so it works where the host
# cannot execute 32-bit programs.

qf_vm_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export QF_VM_CACHE="${QF_VM_CACHE:-/var/cache/quillfern-vm}"

qf_guest_packages() {
    sed -e 's/#.*//' -e '/^[[:space:]]*$/d' "$qf_vm_dir/guest-packages.txt"
}

qf_guest_key() {
    { qf_guest_packages; cat "$qf_vm_dir/guest-init"; } | sha256sum | cut -c1-16
}

# Sets qf_guest_kernel and qf_guest_root to the cached guest, building it first
# when it is missing or stale.
qf_guest_ensure() {
    local key dir
    key=$(qf_guest_key)
    dir="$QF_VM_CACHE/guest-$key"
    qf_guest_kernel="$dir/vmlinuz"
    qf_guest_root="$dir/root.cpio"
    mkdir -p "$QF_VM_CACHE"
    (
        flock 9
        [ -f "$dir/complete" ] && exit 0
        qf_guest_build "$dir" 9>&-
    ) 9>"$QF_VM_CACHE/guest.lock" || return 1
}

qf_guest_build() {
    local dir=$1 root log started
    root="$dir.root"
    log="$dir.build.log"
    started=$SECONDS
    echo "vm: building the test guest in $dir (a few minutes, once)"
    rm -rf "$dir" "$root"
    # Older guests are of no further use.
    rm -rf "$QF_VM_CACHE"/guest-*
    mkdir -p "$dir"
    # Manuals, documentation and translations are of no use to the tests and
    # make every boot slower.
    if ! mmdebstrap --variant=apt --architectures=amd64,i386 \
            --include="$(qf_guest_packages | paste -sd, -)" \
            --dpkgopt='path-exclude=/usr/share/man/*' \
            --dpkgopt='path-exclude=/usr/share/doc/*' \
            --dpkgopt='path-exclude=/usr/share/locale/*' \
            --dpkgopt='path-exclude=/usr/share/info/*' \
            bookworm "$root" \
            "deb http://deb.debian.org/debian bookworm main" \
            "deb http://deb.debian.org/debian bookworm-updates main" \
            "deb http://deb.debian.org/debian-security bookworm-security main" \
            >"$log" 2>&1; then
        echo "vm: building the guest root failed; the end of mmdebstrap's output ($log):" >&2
        tail -n 25 "$log" >&2
        rm -rf "$root"
        return 1
    fi
    local kernel
    kernel=$(ls "$root"/boot/vmlinuz-* 2>/dev/null | head -n 1)
    if [ -z "$kernel" ]; then
        echo "vm: the guest root has no kernel in /boot" >&2
        return 1
    fi
    cp "$kernel" "$dir/vmlinuz"
    # The guest boots from the root itself; the distribution's initrd would
    # only be a second copy of part of it.
    rm -f "$root"/boot/initrd.img* "$root"/boot/vmlinuz-*
    rm -rf "$root"/var/cache/apt/* "$root"/var/lib/apt/lists/*
    install -m 0755 "$qf_vm_dir/guest-init" "$root/init"
    [ -e "$root/dev/console" ] || mknod -m 600 "$root/dev/console" c 5 1
    [ -e "$root/dev/null" ] || mknod -m 666 "$root/dev/null" c 1 3
    (cd "$root" && find . -print0 | cpio --null -o -H newc --quiet) >"$dir/root.cpio"
    rm -rf "$root"
    echo "vm: guest ready in $((SECONDS - started)) s: $(du -sh "$dir/root.cpio" | cut -f1) root, kernel $(basename "$kernel")"
    touch "$dir/complete"
}
