#!/usr/bin/env bash
# Times the price-label sheet job through `zorvel render` for 10,000, 100,000 and 1,000,000
# records from a CSV file, an SQLite table and a table of a private PostgreSQL server (started
# here on a temporary folder, socket only, when its programs are installed). Prints wall time
# and peak memory; the memory should stay flat and the time grow linearly.
#   bash bench/render_million_records.sh build/cli/zorvel [counts...]
set -euo pipefail
zorvel=$(realpath "${1:?usage: render_million_records.sh path/to/zorvel [counts...]}")
shift
counts=("${@:-10000 100000 1000000}")
read -r -a counts <<< "${counts[*]}"
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=price_data.sh
. "$here/price_data.sh"
work=$(mktemp -d)
chmod 755 "$work"
pgbin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1 || true)
pgdata="$work/pg"
as_postgres=()
[ "$(id -u)" = 0 ] && as_postgres=(setpriv --reuid=postgres --regid=postgres --init-groups)
cleanup() {
  if [ -f "$pgdata/postmaster.pid" ]; then "${as_postgres[@]}" "$pgbin/pg_ctl" -D "$pgdata" -m immediate -w -s stop || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

postgres=false
if [ -n "$pgbin" ] && [ -x "$pgbin/initdb" ]; then
  mkdir -p "$pgdata" "$work/socket"
  [ "$(id -u)" = 0 ] && chown postgres "$pgdata" "$work/socket"
  if "${as_postgres[@]}" "$pgbin/initdb" -D "$pgdata" -U zorvel --auth=trust -E UTF8 --locale=C --no-sync > /dev/null &&
     printf "listen_addresses = ''\nunix_socket_directories = '%s'\nfsync = off\n" "$work/socket" >> "$pgdata/postgresql.conf" &&
     "${as_postgres[@]}" "$pgbin/pg_ctl" -D "$pgdata" -l "$pgdata/server.log" -w -s start; then
    postgres=true
  fi
fi

# One run: the source's label, then zorvel's arguments.
measure() {
  local n=$1 source=$2
  shift 2
  /usr/bin/time -f "%e %M" -o "$work/time" \
    "$zorvel" render "$here/data/price_labels.json" "$@" --out "$work/out.pdf" 2> "$work/log" || {
    cat "$work/log" >&2
    return 1
  }
  read -r seconds kib < "$work/time"
  awk -v n="$n" -v src="$source" -v s="$seconds" -v k="$kib" 'BEGIN {
    printf "%-10s %8d records: %7.2f s  %6.1f us/label  peak %4.0f MiB\n", src, n, s, s * 1e6 / n, k / 1024 }'
}

for n in "${counts[@]}"; do
  write_price_csv "$work/data.csv" "$n"
  measure "$n" CSV --csv "$work/data.csv"

  rm -f "$work/data.db"
  sqlite3 "$work/data.db" "CREATE TABLE items (ID INTEGER PRIMARY KEY, NAME TEXT, PRICE REAL, CODE TEXT);"
  tail -n +2 "$work/data.csv" | awk -F, '{ printf "%d,%s,%s,%s\n", NR, $1, $2, $3 }' > "$work/rows.csv"
  sqlite3 "$work/data.db" ".mode csv" ".import $work/rows.csv items"
  measure "$n" SQLite --db "sqlite:$work/data.db" --master items

  if $postgres; then
    url="postgresql://zorvel@/postgres?host=$work/socket"
    PGOPTIONS="-c client_min_messages=warning" psql -q "$url" -c "DROP TABLE IF EXISTS items" \
      -c "CREATE TABLE items (ID INTEGER PRIMARY KEY, NAME TEXT, PRICE NUMERIC(10,2), CODE TEXT)" \
      -c "\\copy items FROM '$work/rows.csv' WITH (FORMAT csv)" > /dev/null
    measure "$n" PostgreSQL --db "$url" --master items
  fi
done
