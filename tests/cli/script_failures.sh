# Sourced by the command-line test scripts: a command that fails the script
# names its line and shows what the program last said on stderr, so a failure
# seen only once in a batch run can still be read afterwards.
report_script_failure() {
  local status=$? line="$1" command="$2"
  [[ $- == *e* ]] || return 0 # a failure the script expects and reads itself
  echo "${BASH_SOURCE[1]##*/}: line $line failed (status $status): $command" >&2
  if [[ -s "$work/err" ]]; then
    echo "--- last stderr of the program:" >&2
    cat "$work/err" >&2
  fi
}
trap 'report_script_failure "$LINENO" "$BASH_COMMAND"' ERR
