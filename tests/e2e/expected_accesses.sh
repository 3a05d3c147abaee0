# The port accesses each scenario must make, one per line as the trace shows them after
# normalising: "DEVICE read|write ADDRESS VALUE [xCOUNT]". DEVICE is "parallel" for an address that
# one of QEMU's ISA parallel ports decodes and "unassigned" for one that nothing decodes (reads
# 0xff, writes vanish). A read's value is what the device answered. QEMU stores a control write
# with bits 6 and 7 set, so a control register written as 0x28 would read back as 0xe8.
#
# Every sequence ends with the helper's read of the control register after the program.

hex() { printf '0x%x' "$1"; }

# A port that answers but has no ECR and no LCD: QEMU's port, whose control register is found at
# 0xcc and whose data lines read 0xff once the direction bit releases them.
standard_port_without_lcd() {
    local data control ecr
    data=$(hex "$1") control=$(hex $(($1 + 2))) ecr=$(hex $(($1 + 0x402)))
    cat <<SEQUENCE
parallel read $control 0xcc
unassigned read $ecr 0xff
unassigned write $ecr 0xff
parallel read $control 0xcc
parallel write $control 0xcc
parallel write $data 0xaa
parallel read $data 0xaa
parallel write $data 0x55
parallel read $data 0x55
parallel write $control 0xcc
parallel read $control 0xcc
parallel write $control 0xcc
parallel write $data 0xaa
parallel write $control 0xec
parallel read $data 0xff
parallel write $control 0xcc
parallel write $control 0x28
parallel read $data 0xff x50001
parallel write $control 0xcc
parallel read $control 0xcc
SEQUENCE
}
# Line by line: the control register saved as found; the ECP probe reads 0xff where the ECR
# would be (FIFO-full set, so 0x34 is never written) and writes the 0xff back; the presence probe
# clears the direction bit (0xcc & 0xdf = 0xcc), sees 0xaa and 0x55 come back and restores
# control; the bidirectional probe drives 0xaa with control 0xcc & 0xcf, turns the lines round
# with 0xec, reads 0xff, which is not 0xaa, so 0x55 is never tried, and restores control; the LCD
# check sets the status read 0x28 and finds the busy flag high 50,001 times; the no-LCD exit writes
# the saved control back; the helper reads it.

# Nothing decodes any of the three addresses: every read is 0xff. The presence probe fails on
# the first pattern, puts back the 0xff it read, and the program stops there.
no_port() {
    local data control ecr
    data=$(hex "$1") control=$(hex $(($1 + 2))) ecr=$(hex $(($1 + 0x402)))
    cat <<SEQUENCE
unassigned read $control 0xff
unassigned read $ecr 0xff
unassigned write $ecr 0xff
unassigned read $control 0xff
unassigned write $control 0xdf
unassigned write $data 0xaa
unassigned read $data 0xff
unassigned write $control 0xff
SEQUENCE
}

# The helper's read of an untouched control register: the program made no access at all.
helper_reads_control() {
    echo "parallel read $(hex "$1") 0xcc"
}
