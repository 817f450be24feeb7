#!/bin/sh
# The desktop notification of certificates about to expire, as a desktop
# shows it: a virtual display (xvfb-run), a session bus of its own and the
# dunst notification daemon, with the notification of
# tests/app/reminders/notification_sample_main.cpp. Run by hand (needs the
# package dunst), not by the tests:
#   tools/notification-screenshot.sh [BUILD_DIR] [PICTURE.png]
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
out=${2:-$root/build/notificacion.png}
sample=$build/tests/app/reminders/reminders_notification_sample
[ -x "$sample" ] || { echo "notification-screenshot: build the target reminders_notification_sample first" >&2; exit 2; }
command -v dunst >/dev/null || { echo "notification-screenshot: dunst is missing (apt-get install dunst)" >&2; exit 2; }
command -v import >/dev/null || { echo "notification-screenshot: import is missing (package imagemagick)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/dunstrc" <<CONF
[global]
    font = DejaVu Sans 11
    width = 480
    height = 300
    origin = top-right
    offset = 16x16
    padding = 12
    horizontal_padding = 12
    frame_width = 1
    frame_color = "#8a8a8a"
    separator_height = 2
    icon_position = left
    icon_path = $root/packaging/icons/hicolor/48x48/apps
    min_icon_size = 48
    max_icon_size = 48
    markup = full
    format = "<b>%s</b>\n%b"
    word_wrap = yes
    ellipsize = end
    show_indicators = no
[urgency_normal]
    background = "#fbfbfb"
    foreground = "#202020"
    timeout = 0
CONF

cat >"$work/run.sh" <<'RUN'
#!/bin/sh
set -eu
xsetroot -solid "#3b5a78" 2>/dev/null || true
dunst -config "$WORK/dunstrc" >"$WORK/dunst.log" 2>&1 &
daemon=$!
sleep 1
"$SAMPLE" 15 &
shown=$!
sleep 2
import -window root -crop 560x180+464+0 "$OUT"
kill "$shown" "$daemon" 2>/dev/null || true
wait 2>/dev/null || true
RUN
WORK=$work SAMPLE=$sample OUT=$out \
    xvfb-run -a -s "-screen 0 1024x600x24" dbus-run-session -- sh "$work/run.sh"
echo "notification-screenshot: $out"
