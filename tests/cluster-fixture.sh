#!/usr/bin/env bash
# CTest fixture: start (or stop) the throwaway cluster of a test run in <build>/testcluster.
set -euo pipefail
action=$1 build=$2
here=$(cd "$(dirname "$0")/.." && pwd)
dir=$build/testcluster
case $action in
  start)
    if [ -f "$dir/cluster.env" ] && "$here/scripts/pgcluster" status "$dir" >/dev/null 2>&1; then
      "$here/scripts/pgcluster" stop "$dir" || true
    fi
    rm -rf "$dir"
    port=55432
    while (exec 3<>/dev/tcp/127.0.0.1/$port) 2>/dev/null; do port=$((port + 1)); done
    "$here/scripts/pgcluster" init "$dir" "$port" --demo
    ;;
  stop)
    [ -d "$dir" ] && "$here/scripts/pgcluster" stop "$dir" || true
    ;;
esac
