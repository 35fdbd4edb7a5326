#!/usr/bin/env bash
# Builds the Debian package and tries it as a new user of a fresh Debian 12
# would: installs it with its dependencies, runs the command-line tool and
# the desktop program as a normal user, removes and purges it, and checks
# that it left no file behind. It installs and removes packages and creates
# a user, so run it as root on a throwaway machine:
#
#   ../shared/tools/fresh-machine tools/package_check.sh
#
# The build tools are removed again before the package is installed, so
# that apt-get has to bring in everything the program needs to run.
set -euo pipefail

# As the test user, under a virtual display: start the desktop program,
# choose the value set after the preselected one in the main window's list
# (mouse wheel down over it) and press "&Exit", which saves the choice. The
# positions are those of the list and the button in the main window.
if [ "${1:-}" = --drive-desktop ]; then
    ohmtrim &
    pid=$!
    win=$(timeout 30 xdotool search --sync --onlyvisible --name Ohmtrim | head -n 1)
    echo "desktop program: main window $win: $(xdotool getwindowname "$win")"
    sleep 1
    xdotool mousemove --window "$win" 460 248 click 5
    sleep 0.5
    xdotool mousemove --window "$win" 460 364 click 1
    if timeout 20 tail --pid="$pid" -f /dev/null; then
        status=0
        wait "$pid" || status=$?
        echo "desktop program: ended with status $status"
    else
        echo "desktop program: still running after Exit"
        kill "$pid"
        exit 1
    fi
    exit 0
fi

[ "$(id -u)" -eq 0 ] || { echo "package_check.sh: run it as root on a throwaway machine" >&2; exit 64; }
cd "$(dirname "$0")/.."
here=$(pwd)
# A chroot made from a private temporary directory has / at mode 0700, which
# no user but root may pass; a real system has 0755.
chmod 755 /
export DEBIAN_FRONTEND=noninteractive
user=ohmuser
results=()
check() { # name, then a command that must succeed
    local name=$1; shift
    if "$@"; then results+=("PASS  $name"); else results+=("FAIL  $name"); fi
}
step() { printf '\n==== %s\n' "$*"; }

# Every file and link of the system, less what changes by itself (logs,
# caches, apt's and dpkg's books, the homes and this repository).
file_list() {
    find / -xdev \( -path /proc -o -path /sys -o -path /dev -o -path /run -o -path /tmp \
        -o -path /var/tmp -o -path /var/log -o -path /var/cache -o -path /var/lib/apt \
        -o -path /var/lib/dpkg -o -path /home -o -path /root -o -path "$here" \) -prune \
        -o -print | sort
}
packages() { dpkg-query -W -f '${Package}\n' | sort; }

step "build the package"
packages >/tmp/base-packages
./dev.sh package
deb=$(ls "$here"/build-package/ohmtrim_*.deb)
dpkg-deb --field "$deb" Package Version Architecture Depends
dpkg-deb --contents "$deb" | awk '{print $1, $6, $7, $8}'

step "remove the build tools again"
packages >/tmp/build-packages
mapfile -t added < <(comm -13 /tmp/base-packages /tmp/build-packages)
apt-get purge -y -q "${added[@]}" >/dev/null
echo "purged ${#added[@]} packages the build had installed"
apt-get install -y -q --no-install-recommends xvfb xauth xdotool desktop-file-utils appstream man-db \
    >/dev/null
echo "installed xvfb, xauth and xdotool to drive the desktop program, man, and the validators" \
    "of desktop entries and metainfo"
useradd --create-home --shell /bin/bash "$user"
file_list >/tmp/files-before

step "apt-get install $deb"
apt-get install -y "$deb" 2>&1 |
    awk '/^The following NEW/ {show = 1; print; next} show && /^  / {print; next}
         {show = 0} /^[0-9]+ upgraded/'
check "installs with its dependencies" dpkg-query -W -f '${Status}\n' ohmtrim
check "ohmtrim and ohmtrim-cli are commands" test -x /usr/bin/ohmtrim -a -x /usr/bin/ohmtrim-cli

step "ohmtrim-cli as $user"
runuser -l "$user" -c 'ohmtrim-cli sets'
solve='ohmtrim-cli solve 3 --sets E12,E24 --target 4700'
echo "\$ $solve"
check "ohmtrim-cli solve works" runuser -l "$user" -c "$solve"
check "ohmtrim-cli wrote nothing" test ! -e "/home/$user/.config/ohmtrim"

step "the desktop entry and metainfo"
check "desktop-file-validate" desktop-file-validate /usr/share/applications/org.ohmtrim.Ohmtrim.desktop
check "appstreamcli validate --no-net" \
    appstreamcli validate --no-net /usr/share/metainfo/org.ohmtrim.Ohmtrim.metainfo.xml

step "the manual pages"
check "man ohmtrim-cli renders" bash -c 'MANWIDTH=80 man ohmtrim-cli 2>/dev/null | grep -q "EXIT STATUS"'
check "man ohmtrim renders" bash -c 'MANWIDTH=80 man ohmtrim 2>/dev/null | grep -q "ohmtrim - build"'

step "the desktop program as $user under xvfb-run"
check "desktop program starts and ends" runuser -l "$user" -c \
    "xvfb-run -a $here/tools/package_check.sh --drive-desktop"
ini=/home/$user/.config/ohmtrim/omtr.ini
echo "--- $ini"
cat "$ini" || true
check "label saved to ~/.config/ohmtrim/omtr.ini" grep -qx 'Label=E48' "$ini"
check "shipped omtr.ini unchanged" cmp -s /usr/lib/ohmtrim/omtr.ini "$here/data/omtr.ini"

step "apt-get remove and purge"
dpkg-query -L ohmtrim | sort >/tmp/package-files
file_list >/tmp/files-installed
apt-get remove -y -q ohmtrim >/dev/null
file_list >/tmp/files-removed
echo "apt-get install added $(comm -13 /tmp/files-before /tmp/files-installed | wc -l) paths," \
    "the package itself $(wc -l </tmp/package-files) (with its directories)"
# What of the package is still there: shared directories only (/usr/bin...).
while read -r path; do
    [ -e "$path" ] || [ -L "$path" ] || continue
    [ -d "$path" ] && [ ! -L "$path" ] && continue
    echo "$path"
done </tmp/package-files >/tmp/package-left
echo "the package's files and links left after apt-get remove: $(wc -l </tmp/package-left)"
sed 's/^/  /' /tmp/package-left
check "apt-get remove leaves none of the package's files" test ! -s /tmp/package-left
check "no path named ohmtrim left" bash -c '! grep ohmtrim /tmp/files-removed'
# Before and after removal, all else installed: what went is the package's
# (and the icon cache, which the icon theme's trigger made for its icon).
comm -23 /tmp/files-installed /tmp/files-removed >/tmp/files-gone
echo "paths apt-get remove took away: $(wc -l </tmp/files-gone), all of them the package's:"
check "apt-get remove took only the package's paths" \
    bash -c '! comm -23 /tmp/files-gone /tmp/package-files | grep -v -x /usr/share/icons/hicolor/icon-theme.cache'
check "apt-get remove added no path" bash -c '! comm -13 /tmp/files-installed /tmp/files-removed | grep .'
# Without conffiles, removing is purging already: apt-get no longer knows
# the package, and dpkg says there is nothing left to purge.
dpkg-query -W ohmtrim 2>&1 || true
dpkg --purge ohmtrim
apt-get autoremove --purge -y -q >/dev/null
file_list >/tmp/files-after
# The dependencies, removed again by autoremove, may leave files of their
# own (systemd's, say); none may be the package's.
echo "difference between the file lists before install and after purge and autoremove:"
diff /tmp/files-before /tmp/files-after | sed 's/^/  /' || true
check "nothing of the package after purge and autoremove" \
    bash -c '! comm -12 /tmp/files-after /tmp/package-files | grep -v -x -F -f <(comm -12 /tmp/files-before /tmp/package-files) | grep . '
check "dpkg forgot the package" bash -c '! ls /var/lib/dpkg/info/ohmtrim.* 2>/dev/null'
echo "left in the user's home (the user's own, as for any program):"
find "/home/$user/.config/ohmtrim" | sed 's/^/  /'

step "summary"
printf '%s\n' "${results[@]}"
! printf '%s\n' "${results[@]}" | grep -q '^FAIL'
