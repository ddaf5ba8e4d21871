# Shared by the set-up commands: install what is missing, configure and build.
# Sourced, not run.
set -euo pipefail

KV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KV_PACKAGES=(g++ cmake ninja-build pkg-config qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql
             libqt6sql6-odbc odbc-postgresql unixodbc-dev libgtest-dev libbenchmark-dev fonts-dejavu-core postgresql xvfb xauth clang-format clang-tidy ccache
             poppler-utils libxml2-utils sqlite3 libxlsxwriter-dev qt6-declarative-dev unzip libsodium-dev libsqlite3-dev libpq-dev
             qt6-translations-l10n locales lintian lld)

kv_install_packages() {
    local missing=()
    for p in "${KV_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    if ((${#missing[@]})); then
        echo "== installing: ${missing[*]}"
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq
        apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

# Generates the clerk's locale, it_IT.UTF-8, unless the machine has it.
kv_italian_locale() {
    locale -a 2>/dev/null | grep -qix 'it_IT\.utf-\?8' && return
    echo "== generating the it_IT.UTF-8 locale"
    localedef -i it_IT -c -f UTF-8 -A /usr/share/locale/locale.alias it_IT.UTF-8
}

# kv_timed LABEL COMMAND...: runs the command and says how long it took; the times are listed
# again at the end (kv_times).
KV_TIMES=()
kv_timed() {
    local label=$1 start=$SECONDS; shift
    "$@"
    KV_TIMES+=("$label: $((SECONDS - start)) s")
    echo "== $label: $((SECONDS - start)) s"
}
kv_times() {
    printf '== %s\n' "${KV_TIMES[@]}"
}

# kv_build PRESET [TARGET...]
kv_build() {
    local preset=$1; shift
    cd "$KV_ROOT"
    if [ ! -f "build/$preset/build.ninja" ]; then
        cmake --preset "$preset" >/dev/null
    fi
    if (($#)); then
        cmake --build --preset "$preset" --target "$@"
    else
        cmake --build --preset "$preset"
    fi
}

# Starts the machine's PostgreSQL cluster when none runs and makes root a superuser.
kv_start_postgres() {
    local ver
    ver=$(ls /etc/postgresql | sort -n | tail -1)
    if ! pg_isready -q -h /var/run/postgresql; then
        echo "== starting PostgreSQL $ver"
        pg_ctlcluster "$ver" main start || true
        for _ in $(seq 1 60); do pg_isready -q -h /var/run/postgresql && break; sleep 0.5; done
    fi
    pg_isready -q -h /var/run/postgresql || { echo "PostgreSQL did not start" >&2; return 1; }
    runuser -u postgres -- psql -h /var/run/postgresql -tAc \
        "SELECT 1 FROM pg_roles WHERE rolname='root'" | grep -q 1 ||
        runuser -u postgres -- createuser -h /var/run/postgresql --superuser root
    psql -h /var/run/postgresql -d postgres -tAc "SELECT 1 FROM pg_database WHERE datname='kvtest'" |
        grep -q 1 || createdb -h /var/run/postgresql kvtest
}
