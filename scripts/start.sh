#!/usr/bin/env bash
# Installs what is missing, builds and starts the application on the embedded demo database.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

kv_install_packages
kv_build default dettaglio
mkdir -p "$KV_ROOT/var"
exec "$KV_ROOT/build/default/src/app/dettaglio" --db "sqlite:$KV_ROOT/var/demo.sqlite" "$@"
