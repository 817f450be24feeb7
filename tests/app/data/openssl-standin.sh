#!/bin/sh
# Stand-in for the openssl program in tests. Every call is logged to $LOG
# (when set): its arguments in brackets, then its working directory.
# "genrsa" and "req -new" act as $GENRSA and $REQ say; every other command is
# the real openssl's ($REAL_OPENSSL), but "version" answers $VERSION_TEXT when
# it is set, and hangs when $VERSION is "hang".
#   key        (genrsa) writes the prepared key $TEST_KEY to the -out file
#   real       the real openssl
#   junk       writes junk to the -out file and exits 0
#   fail       says why on standard error and exits 1
#   nowrite    writes nothing and exits 0
#   hang       sleeps for $HANG seconds (default 60), then acts as key/real
#   slow       (genrsa) writes the -out file a line a second for $SLOW
#              seconds (default 60), then the prepared key
#   forged     (req) real, but with a subject of its own
#   otherkey   (req) real, but signed by another key
if [ -n "${LOG:-}" ]; then
    printf '[%s]' "$@" >> "$LOG"; echo >> "$LOG"; pwd >> "$LOG"
fi
if [ "$1" = version ] && [ "${VERSION:-}" = hang ]; then
    echo "$$" >> "${HANG_PIDS:-/dev/null}"
    sleep "${HANG:-60}"
fi
if [ "$1" = version ] && [ -n "${VERSION_TEXT:-}" ]; then
    echo "$VERSION_TEXT"; exit 0
fi
out=; prev=
for a; do [ "$prev" = -out ] && out=$a; prev=$a; done
if [ "$1" = genrsa ]; then how=${GENRSA:-key}; normal=key
elif [ "$1" = req ] && [ "$2" = -new ]; then how=${REQ:-real}; normal=real
else exec "$REAL_OPENSSL" "$@"
fi
if [ "$how" = hang ]; then
    echo "$$" >> "${HANG_PIDS:-/dev/null}"
    sleep "${HANG:-60}"
    how=$normal
fi
if [ "$how" = slow ]; then
    echo "$$" >> "${HANG_PIDS:-/dev/null}"
    i=0
    while [ "$i" -lt "${SLOW:-60}" ]; do
        echo "partial $i" >> "$out"; sleep 1; i=$((i + 1))
    done
    how=key
fi
case $how in
    key) cat "$TEST_KEY" > "$out" || exit 1 ;;
    real) "$REAL_OPENSSL" "$@" || exit $? ;;
    junk) echo "not what you think: $1" > "$out" ;;
    fail) echo "stand-in: $1 refused this time" >&2; exit 1 ;;
    nowrite) ;;
    forged)
        "$REAL_OPENSSL" "$@" -subj "/C=AR/serialNumber=CUIT 20123456786/O=Otra/CN=Mallory" || exit $? ;;
    otherkey)
        "$REAL_OPENSSL" genrsa -out "$out.other" 1024 2>/dev/null &&
        "$REAL_OPENSSL" req -new -key "$out.other" -config vemra.cnf -out "$out" -batch -utf8
        st=$?; rm -f "$out.other"; exit $st ;;
esac
exit 0
