#!/bin/sh
# A private CUPS scheduler for tests; never reads or changes the machine's own CUPS settings.
#   cups_fixture.sh start DIR [PID]   starts cupsd with everything under DIR (a fresh folder) and adds the
#                               queues zv_a (default) and zv_b; each job lands in DIR/out/QUEUE.pdf
#                               it stops by itself when process PID (the test) ends
#   cups_fixture.sh stop DIR    stops it and removes DIR
#   cups_fixture.sh label DIR   adds the label printers of CUPS's sample driver with their named label
#                               sizes: zv_label (Zebra, ZPL to DIR/out/zv_label.zpl), zv_dymo (DYMO,
#                               its raster to DIR/out/zv_dymo.bin), and zv_raw, a queue without driver
#                               (DIR/out/zv_raw.zpl gets the job's bytes)
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
    # The label printers of CUPS's own sample driver file, compiled here when ppdc is at hand.
    sample=/usr/share/cups/drv/sample.drv
    mkdir -p "$dir/ppd" || exit 2
    if command -v ppdc > /dev/null 2>&1 && [ -f "$sample" ]; then
        ppdc -d "$dir/ppd" "$sample" 2> "$dir/log/ppdc.out" \
            || { cat "$dir/log/ppdc.out" >&2; exit 1; }
        zebra="-P $dir/ppd/zebra.ppd" dymo="-P $dir/ppd/dymo.ppd"
    else
        zebra="-m drv:///sample.drv/zebra.ppd" dymo="-m drv:///sample.drv/dymo.ppd"
    fi
    add() { # queue, output suffix, driver
        : > "$dir/out/$1.$2" && chmod 666 "$dir/out/$1.$2" || exit 2
        # shellcheck disable=SC2086 # the driver is two words
        lpadmin -p "$1" -E -v "file://$dir/out/$1.$2" $3 2> "$dir/log/lpadmin.out"
        [ -n "$(lpstat -v "$1" 2> /dev/null)" ] || { cat "$dir/log/lpadmin.out" >&2; exit 1; }
    }
    add zv_label zpl "$zebra"
    add zv_dymo bin "$dymo"
    # A queue that passes jobs on untouched. A driverless queue would do on a real device, but the
    # scheduler writes nothing of an unfiltered job to a file: device, so this one passes the bytes
    # through CUPS's gziptoany, which leaves data that is not compressed as it is.
    cat > "$dir/ppd/raw.ppd" <<'PPD'
*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "ZVRAW.PPD"
*Manufacturer: "Zorvel tests"
*Product: "(Raw)"
*ModelName: "Raw label printer"
*ShortNickName: "Raw label printer"
*NickName: "Raw label printer"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: False
*DefaultColorSpace: Gray
*FileSystem: False
*Throughput: "1"
*LandscapeOrientation: Plus90
*TTRasterizer: Type42
*cupsFilter: "application/vnd.cups-raw 0 gziptoany"
*OpenUI *PageSize: PickOne
*DefaultPageSize: w162h90
*PageSize w162h90/2.25x1.25": "<</PageSize[162 90]/ImagingBBox null>>setpagedevice"
*CloseUI: *PageSize
*DefaultPageRegion: w162h90
*PageRegion w162h90/2.25x1.25": "<</PageSize[162 90]/ImagingBBox null>>setpagedevice"
*DefaultImageableArea: w162h90
*ImageableArea w162h90/2.25x1.25": "0 0 162 90"
*DefaultPaperDimension: w162h90
*PaperDimension w162h90/2.25x1.25": "162 90"
PPD
    add zv_raw zpl "-P $dir/ppd/raw.ppd"
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
