#!/bin/sh
# Prepares the OpenSSL folder ZeDede works in:
#   $XDG_DATA_HOME/Vemra/OpenSSL/    a copy of the system's openssl.cnf and a
#                                    link "openssl" to the openssl program
#   $XDG_CONFIG_HOME/Vemra/environment   OPENSSL_CONF=<that folder>/openssl.cnf
# When openssl is missing it is installed through the desktop's elevation
# prompt (pkexec). Running it again gives the same result. Exit status 0 on
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

system_dir=$(openssl version -d | sed -n 's/^OPENSSLDIR: "\(.*\)"$/\1/p')
system_conf="$system_dir/openssl.cnf"
[ -r "$system_conf" ] || fail "cannot read $system_conf"

mkdir -p "$ssl_folder"
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
