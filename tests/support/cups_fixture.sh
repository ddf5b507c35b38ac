#!/bin/sh
# A private CUPS scheduler for tests; never reads or changes the machine's own CUPS settings.
#   cups_fixture.sh start DIR [PID]   starts cupsd with everything under DIR (a fresh folder) and adds the
#                               queues zv_a (default) and zv_b; each job lands in DIR/out/QUEUE.pdf
#                               it stops by itself when process PID (the test) ends
#   cups_fixture.sh stop DIR    stops it and removes DIR
#   cups_fixture.sh label DIR   adds zv_label, a Zebra ZPL label printer of CUPS's sample driver with
#                               its named label sizes; its jobs land in DIR/out/zv_label.zpl as ZPL
# After start, CUPS_SERVER=DIR/cups.sock points the client tools and libraries at it.
set -u
cmd=$1 dir=$2 owner=${3:-}
# shellcheck source=test_status.sh
. "$(dirname "$0")/test_status.sh"

stop() {
    if [ -f "$dir/cupsd.pid" ]; then
        pid=$(cat "$dir/cupsd.pid")
        kill "$pid" 2> /dev/null
        i=0
        while kill -0 "$pid" 2> /dev/null && [ $i -lt 50 ]; do sleep 0.1; i=$((i + 1)); done
        kill -9 "$pid" 2> /dev/null
    fi
    rm -rf "$dir"
}

case $cmd in
stop) stop; exit 0 ;;
label)
    export CUPS_SERVER="$dir/cups.sock"
    command -v lpadmin > /dev/null 2>&1 || PATH=$PATH:/usr/sbin
    : > "$dir/out/zv_label.zpl" && chmod 666 "$dir/out/zv_label.zpl" || exit 2
    lpadmin -p zv_label -E -v "file://$dir/out/zv_label.zpl" -m drv:///sample.drv/zebra.ppd 2> "$dir/log/lpadmin.out" \
        || { cat "$dir/log/lpadmin.out" >&2; exit 1; }
    exit 0 ;;
start) ;;
*) echo "usage: cups_fixture.sh start|stop|label DIR" >&2; exit 2 ;;
esac

command -v cupsd > /dev/null 2>&1 || PATH=$PATH:/usr/sbin
command -v cupsd > /dev/null 2>&1 || skip "cupsd is not installed"
rm -rf "$dir"
mkdir -p "$dir/etc/ppd" "$dir/spool/tmp" "$dir/cache" "$dir/state" "$dir/log" "$dir/out" || exit 2
# The scheduler's filters run as lp and must reach the spool and the output folder.
chmod 755 "$dir" "$dir/etc" "$dir/out"
user=lp group=lp
if [ "$(id -u)" -ne 0 ]; then user=$(id -un) group=$(id -gn); fi
chown "$user:$group" "$dir/out" 2> /dev/null

cat > "$dir/etc/cups-files.conf" <<CONF
User $user
Group $group
SystemGroup root lpadmin $(id -gn)
ServerRoot $dir/etc
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
Printcap $dir/printcap
FileDevice Yes
CONF
cat > "$dir/etc/cupsd.conf" <<CONF
Listen $dir/cups.sock
Browsing No
WebInterface No
LogLevel warn
MaxJobs 0
PreserveJobHistory Yes
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF

cupsd -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" > "$dir/log/cupsd.out" 2>&1 &
echo $! > "$dir/cupsd.pid"
export CUPS_SERVER="$dir/cups.sock"
i=0
until lpstat -r 2> /dev/null | grep -q "is running"; do
    i=$((i + 1))
    if [ $i -gt 100 ] || ! kill -0 "$(cat "$dir/cupsd.pid")" 2> /dev/null; then
        echo "cupsd did not start:" >&2
        cat "$dir/log/cupsd.out" "$dir/log/error_log" >&2 2> /dev/null
        stop
        exit 1
    fi
    sleep 0.1
done
ppd=/usr/share/ppd/cupsfilters/Generic-PDF_Printer-PDF.ppd
[ -f "$ppd" ] || { echo "$ppd is missing (printer-driver-cups-pdf / cups-filters)" >&2; stop; exit 1; }
for q in zv_a zv_b; do
    : > "$dir/out/$q.pdf"
    chown "$user:$group" "$dir/out/$q.pdf" 2> /dev/null
    # A generic PDF printer: paper, orientation and copies are applied, the text stays searchable.
    lpadmin -p "$q" -E -v "file://$dir/out/$q.pdf" -P "$ppd" 2> "$dir/log/lpadmin.out" \
        || { cat "$dir/log/lpadmin.out" >&2; stop; exit 1; }
done
lpadmin -d zv_a || { stop; exit 1; }
# A test killed on its timeout leaves no scheduler behind.
if [ -n "$owner" ]; then
    (while kill -0 "$owner" 2> /dev/null; do sleep 1; done; stop) < /dev/null > /dev/null 2>&1 &
fi
exit 0
