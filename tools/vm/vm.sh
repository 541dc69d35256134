# Sourced: runs one command of the project inside the test guest (guest.sh)
# under qemu-system-x86_64, for machines that execute no 32-bit x86 code.
#
#   qf_vm_run <build folder> <command> [arguments...]
#
# The project's files and <build folder> go in at the same absolute paths, so
# ctest's files work unchanged; the command runs from the project root with
# QF_ROAD=vm. What it writes under the build folder comes back (test logs,
# JUnit XML, screenshots, the logs of failing rows), except Wine prefixes. The
# guest's console streams to standard output. Returns the command's status.

source "$(dirname "${BASH_SOURCE[0]}")/road.sh"
source "$(dirname "${BASH_SOURCE[0]}")/guest.sh"

# The guest's size: the root and every Wine prefix live in its memory, and its
# initramfs root may take half of it.
QF_VM_MEMORY="${QF_VM_MEMORY:-12G}"
QF_VM_TIMEOUT_S="${QF_VM_TIMEOUT_S:-3600}"

qf_vm_run() {
    local build=$1
    shift
    local root stage started
    root=$(cd "$qf_vm_dir/../.." && pwd)
    build=$(cd "$build" && pwd)
    stage="$build/vm"
    qf_guest_ensure || return 1
    started=$SECONDS

    rm -rf "$stage"
    mkdir -p "$stage/job" "$stage/results"
    install -m 0644 "$qf_vm_dir/guest-job.sh" "$stage/job/guest-job.sh"
    {
        printf 'QF_PROJECT=%q\n' "$root"
        printf 'QF_BUILD=%q\n' "$build"
        printf 'QF_WAIT_SCALE=%q\n' "${QF_WAIT_SCALE:-$qf_vm_wait_scale}"
        printf 'QF_COMMAND=('
        printf '%q ' "$@"
        printf ')\n'
    } >"$stage/job/job.env"

    # The job disk: the guest's job script, then the project and the build
    # folder at their own paths. Prefixes are made anew or seeded in the guest.
    tar -c -f "$stage/in.img" -C "$stage" --transform 's,^job,qf/job,' job
    local entry members=()
    for entry in "$root"/* "$root"/.[!.]*; do
        [ -e "$entry" ] || continue
        case $(basename "$entry") in .git|build*) continue ;; esac
        members+=("${entry#/}")
    done
    tar -r -f "$stage/in.img" -C / \
        --exclude="${build#/}/vm" --exclude="${build#/}/tests/e2e/work" --exclude='*-prefix' \
        "${members[@]}" "${build#/}"
    # The result disk, sparse: the guest writes one tar onto it.
    rm -f "$stage/out.img"
    truncate -s 8G "$stage/out.img"

    local seed="$QF_VM_CACHE/guest-$(qf_guest_key)/prefix.tar"
    local drives=(-drive "file=$stage/in.img,format=raw,if=virtio,readonly=on"
                  -drive "file=$stage/out.img,format=raw,if=virtio")
    if [ -f "$seed" ]; then
        drives+=(-drive "file=$seed,format=raw,if=virtio,readonly=on")
    fi

    echo "vm: starting the guest ($QF_VM_MEMORY, 2 vCPUs, software emulation; $(du -h "$stage/in.img" | cut -f1) of job)"
    : >"$stage/console.log"
    timeout "$QF_VM_TIMEOUT_S" qemu-system-x86_64 \
        -accel tcg,thread=multi -smp 2 -m "$QF_VM_MEMORY" \
        -nodefaults -no-user-config -display none -no-reboot \
        -serial "file:$stage/console.log" \
        -kernel "$qf_guest_kernel" -initrd "$qf_guest_root" \
        -append "console=ttyS0 rdinit=/init quiet loglevel=3 panic=-1" \
        "${drives[@]}" >"$stage/qemu.log" 2>&1 &
    local qemu=$!
    tail -n +1 -F --pid="$qemu" "$stage/console.log" 2>/dev/null | tr -d '\r'
    local qemu_status=0
    wait "$qemu" || qemu_status=$?

    if ! tar -x -f "$stage/out.img" -C "$stage/results" 2>/dev/null || [ ! -f "$stage/results/exit-code" ]; then
        echo "vm: the guest ended without a result (qemu exit $qemu_status$([ "$qemu_status" -eq 124 ] && echo ", timed out after $QF_VM_TIMEOUT_S s"))" >&2
        echo "vm: the end of qemu's output ($stage/qemu.log):" >&2
        tail -n 10 "$stage/qemu.log" >&2
        echo "vm: the end of the guest's console ($stage/console.log):" >&2
        tail -n 20 "$stage/console.log" | tr -d '\r' >&2
        return 1
    fi
    rm -f "$stage/out.img" "$stage/in.img"
    if [ -f "$stage/results/seed-prefix.tar" ]; then
        mv "$stage/results/seed-prefix.tar" "$seed"
        echo "vm: cached the booted Wine prefix for later runs ($(du -h "$seed" | cut -f1))"
    fi
    if [ -d "$stage/results/tree" ]; then
        cp -a "$stage/results/tree/." "$root/"
    fi
    local status
    status=$(cat "$stage/results/exit-code")
    echo "vm: the guest ran for $((SECONDS - started)) s; the command exited with $status"
    return "$status"
}
