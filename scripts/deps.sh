# Sourced by the set-up scripts: makes sure the Debian packages a build needs
# (and those in KESTRA_EXTRA_PACKAGES) are
# installed. As root it installs what is missing; otherwise it prints the one
# apt-get line to run and stops.
kestra_packages="cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev ${KESTRA_EXTRA_PACKAGES:-}"

kestra_missing=""
for pkg in $kestra_packages; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
    kestra_missing="$kestra_missing $pkg"
  fi
done
if [ -n "$kestra_missing" ]; then
  if [ "$(id -u)" = 0 ]; then
    echo "Installing:$kestra_missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq && apt-get install -y -qq --no-install-recommends $kestra_missing >/dev/null \
      || { echo "apt-get could not install:$kestra_missing" >&2; exit 1; }
  else
    echo "Missing Debian packages. Run:" >&2
    echo "  sudo apt-get install -y$kestra_missing" >&2
    exit 1
  fi
fi
