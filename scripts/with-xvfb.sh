#!/usr/bin/env bash
# Runs a command under an Xvfb server of its own and returns the command's
# exit status. The server chooses a free display number itself and says which
# (-displayfd), so runs started at the same moment on one machine never race
# for a number as `xvfb-run -a` can (it picks a number, then starts the
# server, and two runs may pick the same one). Access needs a fresh
# MIT-MAGIC-COOKIE-1 of this run; no TCP listener.
# Usage: scripts/with-xvfb.sh [-s "SERVER ARGS"] COMMAND [ARGS...]
#   (SERVER ARGS default: -screen 0 1024x1024x24)
set -euo pipefail
server_args=(-screen 0 1024x1024x24)
if [[ ${1-} == -s ]]; then
  read -r -a server_args <<<"$2"
  shift 2
fi
[[ $# -gt 0 ]] || { echo "usage: $0 [-s \"SERVER ARGS\"] COMMAND [ARGS...]" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/with-xvfb.XXXXXX")
server=""
cleanup() {
  if [[ -n "$server" ]]; then
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

cookie=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
# The server reads every cookie in its -auth file whatever display it names;
# the client looks for its own display's entry, added once the number is known.
: >"$work/auth"
xauth -q -f "$work/auth" add :0 MIT-MAGIC-COOKIE-1 "$cookie"
# -noreset: without it the server resets whenever its last client leaves,
# and a program started in that moment (one test's program ending as the
# next one's starts) cannot open the display.
Xvfb -displayfd 3 -auth "$work/auth" -nolisten tcp -noreset "${server_args[@]}" 3>"$work/display" 2>"$work/log" &
server=$!

# The number is written once the server accepts connections.
for _ in $(seq 600); do
  [[ -s "$work/display" ]] && break
  if ! kill -0 "$server" 2>/dev/null; then
    echo "with-xvfb: Xvfb did not start:" >&2
    cat "$work/log" >&2
    exit 1
  fi
  sleep 0.05
done
number=$(tr -d ' \n' <"$work/display")
if [[ -z "$number" ]]; then
  echo "with-xvfb: Xvfb gave no display number within 30 s" >&2
  cat "$work/log" >&2
  exit 1
fi
xauth -q -f "$work/auth" add ":$number" MIT-MAGIC-COOKIE-1 "$cookie"

status=0
DISPLAY=":$number" XAUTHORITY="$work/auth" "$@" || status=$?
exit "$status"
