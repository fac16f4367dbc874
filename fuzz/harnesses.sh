# Sourced by the fuzz scripts: fuzz_harnesses prints the harness names of fuzz/harnesses.txt, one a line.
fuzz_harnesses() {
    local list
    list="$(dirname "${BASH_SOURCE[0]}")/harnesses.txt"
    sed -e 's/#.*//' -e '/^[[:space:]]*$/d' "$list" | awk '{print $1}'
}
