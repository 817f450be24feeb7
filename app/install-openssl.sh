#!/bin/sh
# Prepares the OpenSSL folder ZeDede works in:
#   $XDG_DATA_HOME/Vemra/OpenSSL/    a copy of the system's openssl.cnf and a
#                                    link "openssl" to the openssl program
#   $XDG_CONFIG_HOME/Vemra/environment   OPENSSL_CONF=<that folder>/openssl.cnf
# When openssl is missing it is installed through the desktop's elevation
# prompt (pkexec). The openssl program is used only when it (after following
# links), its folder and the folder it was found in can be changed by no one
# but their owner or root. Running it again gives the same result. Exit status 0 on
# success, non-zero on failure; nothing outside those two places is changed.
set -eu

fail() {
    echo "install-openssl: $*" >&2
    exit 1
}

# XDG variables that are unset, empty or relative take their defaults.
xdg_dir() {
    case "${1:-}" in
        /*) printf '%s\n' "$1" ;;
        *) printf '%s\n' "$HOME/$2" ;;
    esac
}

data_home=$(xdg_dir "${XDG_DATA_HOME:-}" ".local/share")
config_home=$(xdg_dir "${XDG_CONFIG_HOME:-}" ".config")
ssl_folder="$data_home/Vemra/OpenSSL"
env_folder="$config_home/Vemra"
env_file="$env_folder/environment"

if ! command -v openssl >/dev/null 2>&1; then
    command -v pkexec >/dev/null 2>&1 || fail "openssl is missing and pkexec is not available"
    pkexec apt-get install -y openssl || fail "installing openssl was refused or failed"
    command -v openssl >/dev/null 2>&1 || fail "openssl is still missing"
fi
openssl_program=$(command -v openssl)
case "$openssl_program" in
    /*) ;;
    *) fail "openssl is not a program file: $openssl_program" ;;
esac

me=$(id -u)

# Refuses $1 (named $2: "el archivo", "la carpeta") when a user other
# than its owner or root could change it; $3 set: a folder higher up, where
# the sticky bit keeps others from replacing what they do not own.
refuse_unsafe() {
    set -- "$1" "$2" "${3:-}" "$(stat -c '%u %a' -- "$1" 2>/dev/null)"
    [ -n "$4" ] || fail "no se pudo examinar $1"
    owner=${4%% *}
    perms=${4#* }
    if [ "$owner" != 0 ] && [ "$owner" != "$me" ]; then
        fail "no se usa OpenSSL: $2 $1 pertenece a otro usuario (uid $owner)"
    fi
    if [ $((0$perms & 022)) -ne 0 ]; then
        if [ -z "$3" ] || [ $((0$perms & 01000)) -eq 0 ]; then
            fail "no se usa OpenSSL: $2 $1 la pueden modificar otros usuarios (permisos $perms)"
        fi
    fi
}

# A folder, free of links, and every folder above it.
refuse_unsafe_folder() {
    f=$1
    above=
    while :; do
        refuse_unsafe "$f" "la carpeta" "$above"
        [ "$f" = / ] && break
        f=$(dirname -- "$f")
        above=1
    done
}

found_in=$(cd -P -- "$(dirname -- "$openssl_program")" && pwd) ||
    fail "no se pudo examinar la carpeta de $openssl_program"
refuse_unsafe_folder "$found_in"
resolved=$(readlink -f -- "$openssl_program") || fail "no se pudo seguir el enlace $openssl_program"
[ -f "$resolved" ] || fail "$resolved no es un archivo"
refuse_unsafe_folder "$(dirname -- "$resolved")"
refuse_unsafe "$resolved" "el archivo"
openssl_program=$resolved

system_dir=$(openssl version -d | sed -n 's/^OPENSSLDIR: "\(.*\)"$/\1/p')
system_conf="$system_dir/openssl.cnf"
[ -r "$system_conf" ] || fail "cannot read $system_conf"

mkdir -p "$ssl_folder"
refuse_unsafe_folder "$(cd -P -- "$ssl_folder" && pwd)"
cp "$system_conf" "$ssl_folder/openssl.cnf.new"
mv -f "$ssl_folder/openssl.cnf.new" "$ssl_folder/openssl.cnf"
ln -sfn "$openssl_program" "$ssl_folder/openssl"

# The environment file keeps its other lines; OPENSSL_CONF is set once.
mkdir -p "$env_folder"
new_env="$env_file.new"
if [ -f "$env_file" ]; then
    grep -v -i '^[[:space:]]*\(export[[:space:]]\{1,\}\)\{0,1\}OPENSSL_CONF[[:space:]]*=' \
        "$env_file" >"$new_env" || true
else
    : >"$new_env"
fi
printf 'OPENSSL_CONF=%s\n' "$ssl_folder/openssl.cnf" >>"$new_env"
mv -f "$new_env" "$env_file"
exit 0
