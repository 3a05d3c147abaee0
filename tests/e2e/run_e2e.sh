#!/bin/bash
# End-to-end test of the hardware program: boots a QEMU guest (software emulation) with ISA
# parallel ports at 0x378 and 0x278, runs the static lptlcd in it once per scenario, and checks
# each run's exit status, standard output and standard error, and, access for access, the port
# traffic that QEMU traced while it ran.
#
#   run_e2e.sh LPTLCD_STATIC GUEST_HELPER SOURCE_DIR WORK_DIR
#
# The trace is QEMU's I/O dispatch trace (memory_region_ops_read/write): it names the device that
# answered each access, by absolute address, and also shows accesses that no device decodes, such
# as base + 0x402 on these ports, which have no ECR.
set -u
lptlcd=$1 helper=$2 here=$3 work=$4

. "$here/expected_accesses.sh"

packages="qemu-system-x86 linux-image-cloud-amd64 busybox-static"
qemu=$(command -v qemu-system-x86_64)
kernel=$(ls /boot/vmlinuz-*-cloud-amd64 2>/dev/null | sort -V | tail -n 1)
busybox=$(command -v busybox)
missing=()
[ -n "$qemu" ] || missing+=("qemu-system-x86_64")
[ -n "$kernel" ] || missing+=("/boot/vmlinuz-*-cloud-amd64")
# The guest has no C library: a dynamically linked busybox cannot run as its /init.
if [ -z "$busybox" ] || LC_ALL=C readelf -l "$busybox" 2>/dev/null | grep -q "program interpreter"; then
    missing+=("a static busybox")
fi
if [ ${#missing[@]} -gt 0 ]; then
    list=$(printf '%s, ' "${missing[@]}")
    echo "e2e: FAIL: missing ${list%, }; install the Debian packages $packages (apt-get install $packages)" >&2
    exit 1
fi
if [ ! -r "$kernel" ]; then
    echo "e2e: FAIL: cannot read $kernel; run the test as root or make the kernel readable (chmod a+r $kernel)" >&2
    exit 1
fi

# NAME MARK CONTROL COMMAND...: one scenario per line (see guest_init.sh). The 0x278 scenario
# marks on its own port's status register; the others on the first port's.
scenarios="no-argument 379 37a /lptlcd
port-378 379 37a /lptlcd 378
port-0x278 279 27a /lptlcd 0x278
port-3bc 379 37a /lptlcd 3bc
argument-xyz 379 37a /lptlcd xyz
unprivileged-378 379 37a /lptlcd-guest as-user 1000 /lptlcd 378"

usage=$'\nPlease specify a Parallel Port to test.\n\nDefault for port 1 is usually 378\n'
standard_no_lcd=$'\nStandard Port detected (not ECP)\nPort successfully supports BPP mode.\n'$'\nNo LCD detected on the port.  Make sure LCD is connected and proper\npower is supplied to the LCD.\n'

declare -A status out err errPrefix accesses
status[no-argument]=0 out[no-argument]=$usage err[no-argument]=""
accesses[no-argument]=$(helper_reads_control 0x37a)

status[port-378]=0 out[port-378]=$standard_no_lcd err[port-378]=""
accesses[port-378]=$(standard_port_without_lcd 0x378)

status[port-0x278]=0 out[port-0x278]=$standard_no_lcd err[port-0x278]=""
accesses[port-0x278]=$(standard_port_without_lcd 0x278)

status[port-3bc]=0 out[port-3bc]=$'No Port Detected at 3bc.\n' err[port-3bc]=""
accesses[port-3bc]=$(no_port 0x3bc; helper_reads_control 0x37a)

status[argument-xyz]=2 out[argument-xyz]=""
err[argument-xyz]="lptlcd: 'xyz' is not a port address; give its base in hex, 1 to 4 digits, e.g. 378"$'\n'$usage
accesses[argument-xyz]=$(helper_reads_control 0x37a)

# The advice after the reason may be reworded; the one line and its start may not.
status[unprivileged-378]=1 out[unprivileged-378]=""
errPrefix[unprivileged-378]="lptlcd: no access to I/O ports 0x378, 0x37a and 0x77a (ioperm: Operation not permitted)"
accesses[unprivileged-378]=$(helper_reads_control 0x37a)

# --- the guest -------------------------------------------------------------------------------
rm -rf "$work"
mkdir -p "$work/root/bin" "$work/root/proc" "$work/root/dev" "$work/root/tmp"
cp "$busybox" "$work/root/bin/busybox"
for applet in sh mount base64 timeout reboot; do
    ln -s busybox "$work/root/bin/$applet"
done
cp "$lptlcd" "$work/root/lptlcd"
cp "$helper" "$work/root/lptlcd-guest"
cp "$here/guest_init.sh" "$work/root/init"
chmod 755 "$work/root/init" "$work/root/lptlcd" "$work/root/lptlcd-guest"
printf '%s\n' "$scenarios" >"$work/root/scenarios"
(cd "$work/root" && find . | "$busybox" cpio -o -H newc 2>/dev/null) >"$work/initramfs.cpio"

# No parport driver in the guest kernel, no default devices: nothing but the firmware (before
# the first mark) and lptlcd reaches the ports.
timeout 90 "$qemu" -accel tcg -m 256 -nodefaults -display none -no-reboot \
    -serial stdio -monitor none \
    -chardev null,id=lpt1 -device isa-parallel,chardev=lpt1,iobase=0x378,index=0 \
    -chardev null,id=lpt2 -device isa-parallel,chardev=lpt2,iobase=0x278,index=1 \
    -kernel "$kernel" -initrd "$work/initramfs.cpio" \
    -append "console=ttyS0 quiet panic=-1" \
    -d trace:memory_region_ops_read,trace:memory_region_ops_write -D "$work/trace.log" \
    </dev/null >"$work/console.log" 2>"$work/qemu.err"
qemuStatus=$?
tr -d '\r' <"$work/console.log" >"$work/console.txt"
if ! grep -q '^@@ all done$' "$work/console.txt"; then
    echo "e2e: FAIL: the guest did not finish its scenarios (qemu status $qemuStatus); see $work/console.txt and $work/qemu.err" >&2
    exit 1
fi

# --- the trace -------------------------------------------------------------------------------
# One line per access to a parallel port or to an address nothing decodes:
# "DEVICE read|write ADDRESS VALUE", the value as one byte (QEMU logs unassigned reads as all ones).
awk '
/^memory_region_ops_(read|write) / && / name .(parallel|io).$/ {
    op = ($1 ~ /read/) ? "read" : "write"
    for (i = 2; i < NF; i++) {
        if ($i == "addr") addr = $(i + 1)
        if ($i == "value") value = $(i + 1)
    }
    digits = "0" substr(value, 3)
    byte = substr(digits, length(digits) - 1)
    print (($NF == "\047parallel\047") ? "parallel" : "unassigned"), op, addr, "0x" byte
}' "$work/trace.log" >"$work/accesses.txt"

# The marks, two per scenario, are the last reads of the scenarios' status registers; the
# firmware's own probing at boot lies before them.
marks=$(printf '%s\n' "$scenarios" | awk '{ print "0x" $2; print "0x" $2 }')
markCount=$(printf '%s\n' "$marks" | wc -l)
grep -n -E '^parallel read 0x(379|279) ' "$work/accesses.txt" | tail -n "$markCount" >"$work/marks.txt"
if [ "$(cut -d' ' -f3 "$work/marks.txt")" != "$marks" ]; then
    echo "e2e: FAIL: the scenario marks in $work/accesses.txt do not line up (a status register read by the program?)" >&2
    exit 1
fi

# Runs of one repeated access are shown once, with "xCOUNT".
collapse() {
    awk '$0 == last { n++; next }
         { if (NR > 1) print last (n > 1 ? " x" n : ""); last = $0; n = 1 }
         END { if (NR > 0) print last (n > 1 ? " x" n : "") }'
}

failures=0
report() { echo "e2e: FAIL: $*" >&2; failures=$((failures + 1)); }
field() { sed -n "s/^@@ $1 $2 //p; s/^@@ $1 $2\$//p" "$work/console.txt"; }

index=0
while read -r name _; do
    from=$(sed -n "$((2 * index + 1))p" "$work/marks.txt" | cut -d: -f1)
    to=$(sed -n "$((2 * index + 2))p" "$work/marks.txt" | cut -d: -f1)
    index=$((index + 1))

    got=$(field "$name" status)
    [ "$got" = "${status[$name]}" ] || report "$name: exit status $got, expected ${status[$name]}"

    field "$name" stdout | base64 -d >"$work/$name.stdout"
    field "$name" stderr | base64 -d >"$work/$name.stderr"
    printf '%s' "${out[$name]}" >"$work/$name.stdout.expected"
    cmp -s "$work/$name.stdout" "$work/$name.stdout.expected" ||
        report "$name: standard output differs: $(diff <(od -c "$work/$name.stdout.expected") <(od -c "$work/$name.stdout") | head -n 20)"
    if [ -n "${errPrefix[$name]:-}" ]; then
        line=$(cat "$work/$name.stderr")
        [ "$(wc -l <"$work/$name.stderr")" = 1 ] && [ "${line#"${errPrefix[$name]}"}" != "$line" ] ||
            report "$name: standard error is not one line starting '${errPrefix[$name]}': $(cat -A "$work/$name.stderr")"
    else
        printf '%s' "${err[$name]}" >"$work/$name.stderr.expected"
        cmp -s "$work/$name.stderr" "$work/$name.stderr.expected" ||
            report "$name: standard error differs: $(diff <(od -c "$work/$name.stderr.expected") <(od -c "$work/$name.stderr") | head -n 20)"
    fi

    sed -n "$((from + 1)),$((to - 1))p" "$work/accesses.txt" | collapse >"$work/$name.accesses"
    printf '%s\n' "${accesses[$name]}" >"$work/$name.accesses.expected"
    if ! diff -u "$work/$name.accesses.expected" "$work/$name.accesses" >"$work/$name.accesses.diff"; then
        report "$name: port accesses differ from the expected sequence: $(head -n 40 "$work/$name.accesses.diff")"
    fi
done <<<"$scenarios"

if [ "$failures" -gt 0 ]; then
    echo "e2e: $failures check(s) failed; guest files in $work" >&2
    exit 1
fi
echo "e2e: all $index scenarios passed (status, output and port accesses)"
