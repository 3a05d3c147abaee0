#!/bin/busybox sh
# /init of the test guest. Runs every line of /scenarios ("NAME MARK CONTROL COMMAND...") as one
# scenario: a read of MARK (a status register, which lptlcd never touches) opens and closes the
# scenario's stretch of the I/O trace; CONTROL is read just before the closing mark, to show the
# register the program had to put back. Results go to the console as "@@ NAME FIELD VALUE" lines.
export PATH=/bin
mount -t proc proc /proc
mount -t devtmpfs dev /dev
mount -t tmpfs tmp /tmp

while read -r name mark control command; do
    /lptlcd-guest peek "$mark" >/dev/null
    # A hung busy-flag wait must not hold the guest until the host gives up on it.
    timeout 20 $command </dev/null >/tmp/stdout 2>/tmp/stderr
    status=$?
    after=$(/lptlcd-guest peek "$control")
    /lptlcd-guest peek "$mark" >/dev/null
    echo "@@ $name status $status"
    echo "@@ $name control $after"
    echo "@@ $name stdout $(base64 -w 0 /tmp/stdout)"
    echo "@@ $name stderr $(base64 -w 0 /tmp/stderr)"
done </scenarios
echo "@@ all done"
reboot -f
