#!/usr/bin/env bash
# Installs every Debian package the project needs and leaves a Firebird 3 install whose SYSDBA
# password is "plovertin". Idempotent: a second run changes nothing.
set -euo pipefail

SYSDBA_PASSWORD=plovertin
SUDO=()
[ "$(id -u)" -eq 0 ] || SUDO=(sudo -E)

packages=(
  build-essential cmake ninja-build pkg-config git ca-certificates
  clang-14 libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  firebird3.0-server firebird3.0-utils firebird-dev libfbclient2
  zlib1g-dev libjpeg-dev libpng-dev libtiff-dev
  libfreetype-dev libharfbuzz-dev libfribidi-dev libfontconfig-dev libcairo2-dev
  fonts-liberation2 fonts-dejavu-core fonts-wine fonts-crosextra-carlito
  fonts-lobstertwo
  poppler-utils qpdf
  lintian
  procps util-linux
  lua5.4
  python3-reportlab
  libjemalloc-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  # The key must be first_install: a preseeded new_password alone is replaced by a random one.
  echo "firebird3.0-server shared/firebird/sysdba_password/first_install password $SYSDBA_PASSWORD" \
    | "${SUDO[@]}" debconf-set-selections
  export DEBIAN_FRONTEND=noninteractive
  "${SUDO[@]}" apt-get update -qq
  "${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Several zavrik processes may open one database file in embedded mode at the same time: the
# default server mode (Super) locks the file for one process, SuperClassic shares it through the
# lock manager. A server started afterwards runs in the same mode.
FIREBIRD_CONF=/etc/firebird/3.0/firebird.conf
if ! grep -Eq '^[[:space:]]*ServerMode[[:space:]]*=[[:space:]]*SuperClassic[[:space:]]*$' "$FIREBIRD_CONF"; then
  "${SUDO[@]}" sed -i -E '/^[[:space:]]*ServerMode[[:space:]]*=/d' "$FIREBIRD_CONF"
  echo "ServerMode = SuperClassic" | "${SUDO[@]}" tee -a "$FIREBIRD_CONF" >/dev/null
fi

# Make the SYSDBA password certain. Embedded access to the security database needs the server down;
# when a server is running, the password is checked through it instead.
SECURITY_DB=/var/lib/firebird/3.0/system/security3.fdb
if ! pidof /usr/sbin/firebird >/dev/null 2>&1; then
  echo "create or alter user SYSDBA password '$SYSDBA_PASSWORD' using plugin Srp; commit;" \
    | "${SUDO[@]}" isql-fb -q -user SYSDBA "$SECURITY_DB" >/dev/null
fi
echo "setup: packages and Firebird ready"
