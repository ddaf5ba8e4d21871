#!/usr/bin/env bash
# Installs what is missing, builds, starts PostgreSQL and runs every test through CTest.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

kv_install_packages
bash "$KV_ROOT/scripts/check-format.sh"
kv_start_postgres
export KV_TEST_PG="postgresql:///kvtest?host=/var/run/postgresql"
export QT_QPA_PLATFORM=offscreen

kv_build default
bash "$KV_ROOT/scripts/tidy.sh"
ctest --preset default

# The data layer and the pure rules also run under AddressSanitizer and UBSan.
kv_build asan sanitize_tests
ctest --preset asan
