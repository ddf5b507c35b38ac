#!/bin/sh
# `zorvel render --db postgresql://...` against a private PostgreSQL server (socket only, in a
# temporary folder, stopped at the end): usage: postgres_render.sh ZORVEL DATA_DIR WORK_DIR
set -u
zorvel=$1 data=$2 work=$3
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 2

# shellcheck source=../support/test_status.sh
. "$(dirname "$0")/../support/test_status.sh"
# shellcheck source=detail_labels.sh
. "$(dirname "$0")/detail_labels.sh"

bin=${ZORVEL_PG_BINDIR:-$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -t/ -k5 -n | tail -n 1)}
[ -x "$bin/initdb" ] || fail "no PostgreSQL server programs (initdb) found"
# initdb refuses root: the server runs as postgres then, in a folder of its own.
as_server() { if [ "$(id -u)" -eq 0 ]; then setpriv --reuid=postgres --regid=postgres --init-groups "$@"; else "$@"; fi; }
server=$(mktemp -d "${TMPDIR:-/tmp}/zorvel-pg-XXXXXX") || fail "mktemp"
stop() {
    as_server "$bin/pg_ctl" -D "$server/data" -m fast -w -s stop > /dev/null 2>&1
    rm -rf "$server"
}
trap stop EXIT
trap 'exit 1' INT TERM HUP
[ "$(id -u)" -ne 0 ] || chown postgres: "$server" || fail "chown"
as_server "$bin/initdb" -D "$server/data" -U zorvel --auth=trust -E UTF8 --locale=C --no-sync > initdb.txt 2>&1 \
    || fail "initdb: $(cat initdb.txt)"
printf "listen_addresses = ''\nunix_socket_directories = '%s'\nfsync = off\n" "$server" >> "$server/data/postgresql.conf"
as_server "$bin/pg_ctl" -D "$server/data" -l "$server/server.log" -w -s start || fail "pg_ctl: $(cat "$server/server.log")"

"$bin/psql" -q -X -v ON_ERROR_STOP=1 -h "$server" -U zorvel -d postgres -c "
    CREATE TABLE items (NAME TEXT PRIMARY KEY); INSERT INTO items VALUES ('A1'), ('A2');
    CREATE TABLE stock (NAME TEXT, SKU TEXT);
    INSERT INTO stock VALUES ('A1', 'S11'), ('A1', 'S12'), ('A2', 'S21');" > psql.txt 2>&1 || fail "psql: $(cat psql.txt)"

# The socket folder as a query parameter, then as a percent-encoded host.
encoded=$(printf '%s' "$server" | sed 's#/#%2F#g')
for url in "postgresql://zorvel@/postgres?host=$server" "postgres://zorvel@$encoded/postgres?application_name=zorvel"; do
    rm -f out.pdf
    "$zorvel" render "$data/detail_design.json" --out out.pdf --db "$url" --master items \
        --detail "SELECT SKU FROM stock WHERE NAME = :NAME ORDER BY SKU" 2> stderr.txt || fail "render $url: $(cat stderr.txt)"
    grep -qx "2 labels on 1 page" stderr.txt || fail "stderr: $(cat stderr.txt)"
    check_detail_labels out.pdf
done

"$zorvel" render "$data/detail_design.json" --out bad.pdf --db "postgresql://zorvel@/postgres?host=$server&frob=1" \
    --master items 2> stderr.txt
[ $? -eq 1 ] || fail "exit status for an unknown parameter"
grep -qF "INVALID DATABASE URL : postgresql : UNKNOWN PARAMETER frob" stderr.txt || fail "stderr: $(cat stderr.txt)"
[ ! -e bad.pdf ] || fail "bad.pdf was written"
exit 0
