#!/usr/bin/env bash
# An install of this build into a temporary prefix: its layout, the desktop entry, metadata and
# user unit as their validators see them, the launcher with and without a running service, and
# the Debian package built from the same build.
# usage: install_test.sh BUILD_DIR APP_ID
set -uo pipefail
build=$(readlink -f "$1")
id=$2
tmp=$(mktemp -d)
prefix=$tmp/prefix
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
section() { echo "--- $*"; }

# Process ids whose executable lies in the given file.
pids_running() {
  local exe=$1 proc
  for proc in /proc/[0-9]*; do
    [ "$(readlink "$proc/exe" 2>/dev/null)" = "$exe" ] && echo "${proc#/proc/}"
  done
}

# Installing rewrites the build's install_manifest.txt: a real install's list is put back.
manifest=$build/install_manifest.txt
[ -f "$manifest" ] && cp "$manifest" "$tmp/manifest.saved"

cleanup() {
  local pid
  if [ -f "$tmp/manifest.saved" ]; then
    cp "$tmp/manifest.saved" "$manifest"
  else
    rm -f "$manifest"
  fi
  for pid in $(pids_running "$prefix/lib/lyrics-finder/lyrics-finder") \
    $(pids_running "$prefix/lib/lyric-service/lyric-service"); do
    kill "$pid" 2>/dev/null
  done
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null
  chmod -R u+w "$tmp" 2>/dev/null # a program folder made read-only for the test
  rm -rf "$tmp"
}
trap cleanup EXIT

# wait_for SECONDS COMMAND...: true once COMMAND succeeds, false when the time is up.
wait_for() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -ge "$deadline" ] && return 1
    sleep 0.1
  done
}

section "cmake --install into $prefix"
if ! cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" 2>&1; then
  cat "$tmp/install.log" >&2
  echo "FAIL: the install failed" >&2
  exit 1
fi

section "layout"
program_dir=$prefix/lib/lyrics-finder
for f in lyrics-finder explorer.exe; do
  [ -x "$program_dir/$f" ] || fail "$program_dir/$f is not an executable"
done
for f in libole32.so liburlmon.so; do
  [ -f "$program_dir/$f" ] || fail "$program_dir/$f is missing"
done
[ -x "$prefix/bin/lyrics-finder" ] || fail "the launcher bin/lyrics-finder is missing"
service=$(readlink -f "$prefix/bin/lyric-service")
case "$service" in
  "$prefix"/*) [ -x "$service" ] || fail "bin/lyric-service leads to no executable" ;;
  *) fail "bin/lyric-service leads out of the prefix: $service" ;;
esac
library=$prefix/share/lyric-service/sample-library
songs=$(find "$library" -name '*.lrc' 2>/dev/null | wc -l)
[ "$songs" -gt 0 ] || fail "no sample lyrics under $library"
for f in "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" \
  "share/icons/hicolor/scalable/apps/$id.svg" lib/systemd/user/lyric-service.service \
  share/man/man1/lyrics-finder.1.gz share/man/man1/lyric-service.1.gz; do
  [ -s "$prefix/$f" ] || fail "$f is missing"
done
for size in 16 24 32 48 64 128 256; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
  # The width and height in the PNG header must be the folder's size.
  read -r -a ihdr < <(od -An -tu1 -j16 -N8 "$png" 2>/dev/null)
  if [ "${#ihdr[@]}" -ne 8 ]; then
    fail "$png is missing or no PNG"
    continue
  fi
  width=$(((ihdr[2] << 8) + ihdr[3]))
  height=$(((ihdr[6] << 8) + ihdr[7]))
  [ "$width" = "$size" ] && [ "$height" = "$size" ] || fail "$png is ${width}x$height"
done

# The installed finder resolves its own libraries from its folder, not from the build.
ldd "$program_dir/lyrics-finder" >"$tmp/ldd" 2>&1 || fail "ldd cannot read the installed finder"
grep -q "libole32.so => $program_dir/libole32.so" "$tmp/ldd" ||
  fail "the installed finder does not take libole32.so from its folder: $(grep ole32 "$tmp/ldd")"
grep -q "not found" "$tmp/ldd" && fail "the installed finder misses libraries: $(grep 'not found' "$tmp/ldd")"

section "man pages name every option"
# page COMMAND: every option that COMMAND --help lists is in the page.
check_page() {
  local page=$1 options option text
  options=$("$prefix/bin/$page" --help | grep -o -- '--[a-z][a-z-]*' | sort -u)
  [ -n "$options" ] || fail "$page --help lists no options"
  text=$(gzip -dc "$prefix/share/man/man1/$page.1.gz" | sed 's/\\-/-/g')
  for option in $options; do
    grep -q -- "$option" <<<"$text" || fail "$page(1) does not describe $option"
  done
}
check_page lyric-service
check_page lyrics-finder

section "desktop-file-validate, appstreamcli validate"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop-file-validate"
else
  fail "desktop-file-validate is missing (package desktop-file-utils; scripts/install-deps)"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"
else
  fail "appstreamcli is missing (package appstream; scripts/install-deps)"
fi
grep -qx "Icon=$id" "$prefix/share/applications/$id.desktop" || fail "the desktop entry's icon is not $id"

section "user unit"
unit=$prefix/lib/systemd/user/lyric-service.service
grep -qx "ExecStart=$prefix/bin/lyric-service" "$unit" || fail "the unit does not start $prefix/bin/lyric-service"
grep -qx "Restart=on-failure" "$unit" || fail "the unit does not restart on failure"
if command -v systemd-analyze >/dev/null; then
  mkdir -m 700 "$tmp/runtime"
  XDG_RUNTIME_DIR=$tmp/runtime systemd-analyze --user verify --man=no "$unit" || fail "systemd-analyze verify"
else
  echo "SKIPPED: systemd-analyze verify (systemd is not installed here)"
fi

section "launcher"
# A port of our own: the finder's 47610 may be in use on this machine.
port=
for ((try = 0; try < 50; try++)); do
  candidate=$((20000 + (RANDOM % 20000)))
  curl -s -o /dev/null -m 2 "http://127.0.0.1:$candidate/"
  if [ $? -eq 7 ]; then # connection refused: nobody listens there
    port=$candidate
    break
  fi
done
[ -n "$port" ] || fail "found no free port"
home=$tmp/home
mkdir -p "$home"
log=$home/state/lyrics-finder/lyric-service.log
finder=$program_dir/lyrics-finder
answers() { curl -s -o /dev/null -m 2 "http://127.0.0.1:$port/"; }
is_finder() { [ "$(readlink "/proc/$1/exe" 2>/dev/null)" = "$finder" ]; }
gone() { ! kill -0 "$1" 2>/dev/null; }
launch() {
  env HOME="$home" XDG_CONFIG_HOME="$home/config" \
    XDG_STATE_HOME="$home/state" XDG_DATA_HOME="$home/data" LYRICS_DISPLAY=headless \
    LYRICS_FINDER_TEST_PORT="$port" "$prefix/bin/lyrics-finder" >>"$tmp/launcher.out" 2>&1 &
  echo $!
}
session_of() { awk '{ print $6 }' "/proc/$1/stat" 2>/dev/null; }
parent_of() { awk '{ print $4 }' "/proc/$1/stat" 2>/dev/null; }

if [ -n "$port" ]; then
  first=$(launch)
  # The launcher becomes the finder only once the service answers (or its wait is over).
  if ! wait_for 60 is_finder "$first"; then
    fail "the launcher did not become the installed finder; it said: $(cat "$tmp/launcher.out")"
  fi
  answers || fail "no service answers on port $port once the finder runs"
  services=$(pids_running "$service")
  if [ "$(wc -w <<<"$services")" -ne 1 ]; then
    fail "one installed service should run, not: ${services:-none}"
  else
    [ "$(session_of "$services")" != "$(session_of "$first")" ] || fail "the service shares the finder's session"
    [ "$(parent_of "$services")" != "$first" ] || fail "the service is the finder's child"
    grep -q "serving $songs songs on http://127.0.0.1:$port/" "$log" ||
      fail "the started service does not serve the $songs sample songs: $(cat "$log" 2>/dev/null)"
  fi

  kill "$first"
  wait_for 30 gone "$first" || fail "the finder did not end"
  answers || fail "the service ended with the finder"

  # A service that answers is used as it is.
  log_size=$(wc -c <"$log")
  second=$(launch)
  wait_for 60 is_finder "$second" || fail "the second launch did not become the finder"
  [ "$(pids_running "$service")" = "$services" ] || fail "a second service was started: $(pids_running "$service")"
  [ "$(wc -c <"$log")" = "$log_size" ] || fail "the second launch wrote to the service log: $(cat "$log")"
  kill "$second"
fi

section "downloads of an unprivileged user in the read-only program folder"
# The installed finder on a real display, driven as a user would: started like the menu starts it,
# it searches a bundled song and saves it twice. The program folder belongs to root, so the saves
# must land in the user's own folder. Root would write anywhere: as root the finder runs as nobody.
user_home=$tmp/user
mirror=$user_home/.local/share/lyrics-finder
saved_name="Signal Lost - .lrc"
as_user=()
downloads_skipped=
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || downloads_skipped="$tool is not installed"
done
if [ -z "$downloads_skipped" ] && curl -s -o /dev/null -m 2 http://127.0.0.1:47610/; then
  downloads_skipped="a lyric service already answers on 127.0.0.1:47610, the finder's own port"
fi
if [ -z "$downloads_skipped" ] && [ "$(id -u)" = 0 ]; then
  if command -v setpriv >/dev/null; then
    as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  else
    downloads_skipped="setpriv is missing (package util-linux)"
  fi
fi
if [ -n "$downloads_skipped" ]; then
  echo "SKIPPED: downloads as an unprivileged user ($downloads_skipped)"
else
  mkdir -p "$user_home"
  if [ ${#as_user[@]} -gt 0 ]; then
    chown 65534:65534 "$user_home"
    chmod 755 "$tmp" # the user must reach the prefix
  else
    chmod -R a-w "$program_dir" # the owner may not write it either, as in an install by root
  fi
  x_display_file=$tmp/x-display
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -ac 3>"$x_display_file" 2>"$tmp/xvfb.log" &
  xvfb_pid=$!
  has_display() { [ -s "$x_display_file" ]; }
  wait_for 30 has_display || fail "Xvfb did not start: $(cat "$tmp/xvfb.log")"
  display=:$(head -n1 "$x_display_file")
  xdo() { DISPLAY=$display xdotool "$@" 2>/dev/null; }
  find "$program_dir" -printf '%P %s %T@ %m\n' | sort >"$tmp/program-before"

  env -i PATH="$PATH" HOME="$user_home" DISPLAY="$display" LYRICS_DISPLAY=sdl LYRICS_MESSAGEBOX=default \
    "${as_user[@]}" "$prefix/bin/lyrics-finder" >"$tmp/finder.out" 2>&1 &
  user_finder=$!
  window_of_finder() { window=$(xdo search --onlyvisible --pid "$user_finder" | head -n1) && [ -n "$window" ]; }
  if ! wait_for 90 window_of_finder; then
    fail "the finder's window did not appear; it said: $(cat "$tmp/finder.out")"
  else
    eval "$(xdo getwindowgeometry --shell "$window")" # X and Y: the window's place
    # The task bar groups the window with its menu entry and shows the finder's icon.
    wm_class=$(sed -n 's/^StartupWMClass=//p' "$prefix/share/applications/$id.desktop")
    if command -v xprop >/dev/null; then
      xprop_of() { DISPLAY=$display xprop -id "$window" "$@" 2>&1; }
      [ "$(xprop_of WM_CLASS)" = "WM_CLASS(STRING) = \"$wm_class\", \"$wm_class\"" ] ||
        fail "the window's class is not the desktop entry's $wm_class: $(xprop_of WM_CLASS)"
      [ "$(xprop_of _NET_WM_PID)" = "_NET_WM_PID(CARDINAL) = $user_finder" ] ||
        fail "the window does not name the finder's process: $(xprop_of _NET_WM_PID)"
      icon=$(xprop_of _NET_WM_ICON)
      grep -q "Icon (128 x 128)" <<<"$icon" || fail "the window carries no icon: ${icon:0:200}"
    else
      echo "SKIPPED: the window's class, process and icon (xprop is missing, package x11-utils)"
    fi
    at() { echo mousemove $((X + $1)) $((Y + $2)); }
    # The title box, the search button, then the first row of the hits.
    xdo $(at 136 208) click 1 type --delay 20 "Signal Lost"
    xdo $(at 368 252) click 1
    windows_shown() { [ "$(xdo search --onlyvisible --pid "$user_finder" | wc -l)" -gt 1 ]; }
    # save: right-click the first hit and take the menu's one item, once the hit is listed.
    save() {
      local deadline=$((SECONDS + 60))
      until [ "$SECONDS" -ge "$deadline" ]; do
        xdo $(at 40 38) click 3
        if wait_for 3 windows_shown; then
          xdo mousemove_relative 12 8 click 1
          return 0
        fi
      done
      return 1
    }
    saved=$mirror/$saved_name
    saved_once() { [ -s "$saved" ]; }
    if ! save || ! wait_for 30 saved_once; then
      fail "nothing was saved into $mirror; the finder said: $(cat "$tmp/finder.out")"
    else
      cmp -s "$saved" "$library/The Quiet Static - Signal Lost.lrc" || fail "the saved lyrics differ from the library's"
      first_inode=$(stat -c %i "$saved")
      replaced() { [ -s "$saved" ] && [ "$(stat -c %i "$saved")" != "$first_inode" ]; }
      if ! save || ! wait_for 30 replaced; then
        fail "the second save did not replace the first; the finder said: $(cat "$tmp/finder.out")"
      fi
      listed=$(ls -A "$mirror")
      [ "$listed" = "$saved_name" ] || fail "the user's folder should hold the one saved file, not: $listed"
      [ "$(stat -c %u "$saved")" = "$(stat -c %u "$user_home")" ] || fail "the saved file is not the user's own"
      messages=$(grep -c -x '下载完毕,已保存在软件目录！' "$tmp/finder.out")
      [ "$messages" = 2 ] || fail "the finder should have said twice that the download is done: $(cat "$tmp/finder.out")"
    fi
  fi
  find "$program_dir" -printf '%P %s %T@ %m\n' | sort >"$tmp/program-after"
  diff "$tmp/program-before" "$tmp/program-after" >"$tmp/program-diff" ||
    fail "the program folder changed: $(cat "$tmp/program-diff")"
  kill "$user_finder" 2>/dev/null
  for pid in $(pids_running "$prefix/lib/lyric-service/lyric-service"); do kill "$pid"; done
  kill "$xvfb_pid" 2>/dev/null
  [ ${#as_user[@]} -gt 0 ] || chmod -R u+w "$program_dir"
fi

section "Debian package"
if command -v dpkg-deb >/dev/null && command -v dpkg-shlibdeps >/dev/null; then
  if ! cpack --config "$build/CPackConfig.cmake" -B "$tmp/package" >"$tmp/cpack.log" 2>&1; then
    cat "$tmp/cpack.log" >&2
    fail "cpack -G DEB failed"
  else
    deb=$(ls "$tmp"/package/*.deb)
    # The package holds what the install holds, under /usr.
    mkdir "$tmp/unpacked"
    dpkg-deb -x "$deb" "$tmp/unpacked"
    (cd "$tmp/unpacked" && find . -mindepth 1 | sort) >"$tmp/in-package"
    (cd "$prefix" && find . -mindepth 1 | sed 's|^\./|./usr/|' | sort) >"$tmp/in-prefix"
    echo ./usr >>"$tmp/in-prefix"
    sort -o "$tmp/in-prefix" "$tmp/in-prefix"
    diff "$tmp/in-prefix" "$tmp/in-package" >"$tmp/list-diff" ||
      fail "the package's files differ from the install's (< install, > package): $(cat "$tmp/list-diff")"
    grep -qx "ExecStart=/usr/bin/lyric-service" "$tmp/unpacked/usr/lib/systemd/user/lyric-service.service" ||
      fail "the packaged unit does not start /usr/bin/lyric-service"
    # Each system library that an installed program links must come with Depends: its package is
    # named there, or is a dependency of one named there (as a library package's flavour is).
    depends=$(dpkg-deb -f "$deb" Depends | tr ',|' '\n\n' | awk '{ print $1 }')
    covered=$depends
    for package in $depends; do
      covered+=$'\n'$(dpkg-query -W -f='${Depends}\n${Pre-Depends}' "$package" 2>/dev/null |
        tr ',|' '\n\n' | awk '{ print $1 }' | cut -d: -f1)
    done
    for elf in "$program_dir"/lyrics-finder "$program_dir"/explorer.exe "$program_dir"/*.so "$service"; do
      ldd "$elf" >"$tmp/ldd"
      for needed in $(readelf -d "$elf" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
        # "name => path (address)", or "path (address)" for the dynamic loader
        path=$(awk -v lib="$needed" '$1 == lib && $2 == "=>" { print $3 }
          $1 ~ /^\// { n = split($1, part, "/"); if (part[n] == lib) print $1 }' "$tmp/ldd")
        case "$path" in
          "$prefix"/*) continue ;;
          /*) ;;
          *) fail "$elf: $needed does not resolve" && continue ;;
        esac
        owner=
        for candidate in "$path" "$(readlink -f "$path")" "/usr$path" "${path#/usr}"; do
          owner=$(dpkg -S "$candidate" 2>/dev/null | head -n1 | cut -d: -f1) && [ -n "$owner" ] && break
        done
        if [ -z "$owner" ]; then
          fail "$needed ($path) belongs to no package"
        elif ! grep -qx "$owner" <<<"$covered"; then
          fail "$elf links $needed of $owner, which the package does not depend on"
        fi
      done
    done
  fi
else
  echo "SKIPPED: the Debian package (dpkg-deb or dpkg-shlibdeps is missing)"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "all install checks passed"
