# Sourced by the fuzz scripts: fuzz_harnesses prints the harness names of fuzz/harnesses.txt, one a line.
fuzz_harness_list="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/harnesses.txt"
fuzz_harnesses() {
    sed -e 's/#.*//' -e '/^[[:space:]]*$/d' "$fuzz_harness_list" | awk '{print $1}'
}
