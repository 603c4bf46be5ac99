#!/bin/sh
# Ends the running application and starts the installed one.
#
# Usage: restart.sh PID PROGRAM [ARGUMENT...]
#   PID       the running application's process id (only that process is ended)
#   PROGRAM   the installed executable, started with the ARGUMENTs once PID has ended

set -u

GRACE_SECONDS=10

fail() {
  echo "restart.sh: $*" >&2
  exit 1
}

[ "$#" -ge 2 ] || fail "usage: restart.sh PID PROGRAM [ARGUMENT...]"
pid=$1
shift
program=$1
shift

case "$pid" in
  '' | *[!0-9]*) fail "not a process id: $pid" ;;
esac
[ "$pid" -gt 1 ] || fail "not a process id: $pid"
[ -x "$program" ] || fail "not an executable: $program"

# The application that started this script is about to end: nothing may be
# written to the pipes it holds any more.
exec </dev/null >/dev/null 2>&1

kill -TERM "$pid" 2>/dev/null
waited=0
while kill -0 "$pid" 2>/dev/null; do
  if [ "$waited" -ge $((GRACE_SECONDS * 10)) ]; then
    kill -KILL "$pid" 2>/dev/null
    break
  fi
  sleep 0.1 2>/dev/null || sleep 1
  waited=$((waited + 1))
done

cd "$(dirname "$program")" || exit 1
if command -v setsid >/dev/null 2>&1; then
  setsid "$program" "$@" &
else
  nohup "$program" "$@" &
fi
exit 0
