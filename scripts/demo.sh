#!/usr/bin/env bash
# The main job on an embedded database: set up, build, create demo/demo.fdb with the demo tables
# and templates, run zavrik for invoice 1 and decode its output into demo/invoice.pdf.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh release

bin=build-release
mkdir -p demo
rm -f demo/demo.fdb
"$bin/tools/zavrik-tool" create-db "$PWD/demo/demo.fdb"
"$bin/tools/zavrik-tool" sql "$PWD/demo/demo.fdb" scripts/demo/schema.sql
"$bin/tools/zavrik-tool" put "$PWD/demo/demo.fdb" "Счёт" scripts/demo/invoice.xml

status=0
"$bin/src/driver/zavrik" "$PWD/demo/demo.fdb" "Счёт" 1 > demo/invoice.b64 || status=$?
if [ "$status" -ne 0 ]; then
  echo "demo: zavrik failed (exit code $status):" >&2
  cat demo/invoice.b64 >&2
  exit "$status"
fi
tr -d '\r\n' < demo/invoice.b64 | base64 -d > demo/invoice.pdf
echo "demo: wrote demo/invoice.pdf ($(stat -c %s demo/invoice.pdf) bytes)"
