#!/usr/bin/env bash
# install.sh install       cmake --install into a temporary prefix made read-only, the desktop entry and metainfo
#                          through their validators, then two runs of the installed program.
# install.sh deb_package   cpack -G DEB, the package's control data and files, one run of the program unpacked
#                          from it.
# A run starts the program offscreen with HOME in a temporary folder, waits until its main window has loaded,
# and ends it with SIGTERM, which goes through the normal shut-down.
# Set by CTest: POSTAVO_BUILD_DIR, POSTAVO_SOURCE_DIR, POSTAVO_APP_ID, QTWEBENGINE_CHROMIUM_FLAGS.
set -euo pipefail

work=$(mktemp -d /tmp/postavo-install-XXXXXX)
program_pid=
cleanup() {
    if [ -n "$program_pid" ]; then kill -KILL "$program_pid" 2>/dev/null || true; fi
    chmod -R u+w "$work" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Everything under a folder, with size, time and mode: compared before and after the runs.
snapshot() {
    find "$1" -printf '%p %s %T@ %m\n' | sort
}

# run_program <prefix> <log>: one start and end of <prefix>/bin/postavo as a user whose home is $work/home.
run_program() {
    local prefix=$1 log=$2
    mkdir -p "$work/home" "$work/runtime"
    chmod 700 "$work/runtime"
    env -u XDG_DATA_HOME -u XDG_CONFIG_HOME -u XDG_CACHE_HOME -u XDG_STATE_HOME -u XDG_DATA_DIRS \
        -u XDG_CONFIG_DIRS HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" \
        QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 QT_LOGGING_RULES="postavo.files.info=true" \
        QT_MESSAGE_PATTERN='%{category}: %{message}' \
        "$prefix/bin/postavo" >"$log" 2>&1 &
    program_pid=$!
    # The help window's look-up is the last step of the main window's start-up.
    local waited=0
    until grep -q '^postavo.files: help text:' "$log"; do
        kill -0 "$program_pid" 2>/dev/null || { cat "$log" >&2; fail "the program ended during start-up"; }
        [ $waited -lt 900 ] || { cat "$log" >&2; fail "the program did not finish its start-up in 90 s"; }
        sleep 0.1
        waited=$((waited + 1))
    done
    kill -TERM "$program_pid"
    local status=0
    wait "$program_pid" || status=$?
    program_pid=
    [ $status -eq 0 ] || { cat "$log" >&2; fail "the program ended with status $status after SIGTERM"; }
}

# check_run <prefix> <log>: the run used the per-user data folder and the help text installed with it.
check_run() {
    local prefix=$1 log=$2 data="$work/home/.local/share/Postavo"
    grep -qxF "postavo.files: data folder: $data" "$log" || { cat "$log" >&2; fail "the data folder is not $data"; }
    grep -qxF "postavo.files: help text: $prefix/share/postavo/Help.rtf" "$log" \
        || { cat "$log" >&2; fail "the help text was not found in $prefix/share/postavo"; }
    local name
    for name in htmltemp.txt messages.txt posts.txt posts2.txt sizes.txt; do
        [ -f "$data/$name" ] || fail "$data/$name was not created"
    done
    [ "$(stat -c %a "$data/posts2.txt")" = 600 ] || fail "the forum file (it holds passwords) is not owner-only"
    grep -q '^lastConvert=' "$work/home/.config/Postavo.ini" 2>/dev/null \
        || fail "the settings were not written to ~/.config/Postavo.ini"
}

test_install() {
    local prefix="$work/prefix" app=$POSTAVO_APP_ID
    cmake --install "$POSTAVO_BUILD_DIR" --prefix "$prefix" >/dev/null

    local expected size
    expected="bin/postavo share/postavo/Help.rtf share/postavo/Help_de.rtf share/postavo/Help_ru.rtf share/applications/$app.desktop share/metainfo/$app.metainfo.xml"
    for size in $(cd "$POSTAVO_SOURCE_DIR/resources/icons/AAA" && ls *.png | sed 's/\.png$//'); do
        expected+=" share/icons/hicolor/${size}x${size}/apps/$app.png"
    done
    for name in $expected; do
        [ -f "$prefix/$name" ] || fail "$name was not installed"
    done
    for name in Help.rtf Help_de.rtf Help_ru.rtf; do
        cmp -s "$prefix/share/postavo/$name" "$POSTAVO_SOURCE_DIR/resources/$name" || fail "$name differs"
    done

    desktop-file-validate "$prefix/share/applications/$app.desktop" || fail "desktop-file-validate"
    appstreamcli validate --no-net --explain "$prefix/share/metainfo/$app.metainfo.xml" \
        || fail "appstreamcli validate"
    # The screenshots it names are the ones in the source tree.
    local shots
    shots=$(grep -o '<image>[^<]*</image>' "$prefix/share/metainfo/$app.metainfo.xml" | sed 's|</image>||; s|.*/||')
    [ -n "$shots" ] || fail "the metainfo names no screenshots"
    for name in $shots; do
        [ -f "$POSTAVO_SOURCE_DIR/docs/screenshots/$name" ] || fail "the metainfo names a missing screenshot: $name"
    done

    # Read-only keeps a user out; root (the test machine) would write anyway, so the snapshot decides.
    chmod -R a-w "$prefix"
    local before
    before=$(snapshot "$prefix")

    run_program "$prefix" "$work/first.log"
    check_run "$prefix" "$work/first.log"

    # What a first session leaves behind: a forum with its login and one own post, saved by hand without CR.
    local data="$work/home/.local/share/Postavo"
    printf 'http://127.0.0.1:9/forum|me|secret\n' >"$data/posts2.txt"
    printf 'http://127.0.0.1:9/topic/1\n' >"$data/posts.txt"
    printf '1234\n' >"$data/sizes.txt"

    run_program "$prefix" "$work/second.log"
    check_run "$prefix" "$work/second.log"
    # The second run read the lists and wrote them back in its own form at shut-down.
    [ "$(cat -A "$data/posts2.txt")" = "$(printf 'http://127.0.0.1:9/forum|me|secret^M$\n^M$')" ] \
        || fail "the second run did not keep the forum list: $(cat -A "$data/posts2.txt")"
    [ "$(cat -A "$data/posts.txt")" = "$(printf 'http://127.0.0.1:9/topic/1^M$\n^M$')" ] \
        || fail "the second run did not keep the own posts: $(cat -A "$data/posts.txt")"
    [ "$(cat -A "$data/sizes.txt")" = "$(printf '1234^M$\n^M$')" ] \
        || fail "the second run did not keep the sizes: $(cat -A "$data/sizes.txt")"

    [ "$before" = "$(snapshot "$prefix")" ] \
        || fail "the program wrote under its prefix: $(diff <(echo "$before") <(snapshot "$prefix"))"
}

test_deb_package() {
    (cd "$work" && cpack -G DEB -B "$work/out" --config "$POSTAVO_BUILD_DIR/CPackConfig.cmake" >cpack.log 2>&1) \
        || { cat "$work/cpack.log" >&2; fail "cpack -G DEB"; }
    local deb
    deb=$(ls "$work"/out/postavo_*.deb 2>/dev/null | head -1)
    [ -n "$deb" ] || fail "cpack made no postavo_*.deb"

    local depends
    depends=$(dpkg-deb -f "$deb" Depends)
    echo "Depends: $depends"
    local lib
    for lib in libqt6core6 libqt6dbus6 libqt6gui6 libqt6widgets6 libqt6network6 libqt6webenginewidgets6 libqt6webenginecore6; do
        [[ ", $depends," == *", $lib "* || ", $depends," == *", $lib,"* ]] || fail "Depends does not name $lib"
    done
    # Each dependency is a package Debian has (here: installed for the build).
    local package
    for package in $(echo "$depends" | tr ',' '\n' | sed 's/(.*)//; s/|.*//' | tr -d ' '); do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
            || fail "Depends names $package, which is not installed here"
    done
    [ "$(dpkg-deb -f "$deb" Package)" = postavo ] || fail "the package is not named postavo"

    local contents
    contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
    for name in ./usr/bin/postavo ./usr/share/postavo/Help.rtf ./usr/share/postavo/Help_de.rtf \
        ./usr/share/postavo/Help_ru.rtf "./usr/share/applications/$POSTAVO_APP_ID.desktop" \
        "./usr/share/metainfo/$POSTAVO_APP_ID.metainfo.xml" \
        "./usr/share/icons/hicolor/256x256/apps/$POSTAVO_APP_ID.png"; do
        grep -qxF "$name" <<<"$contents" || fail "the package lacks $name"
    done

    dpkg -x "$deb" "$work/root"
    chmod -R a-w "$work/root"
    local before
    before=$(snapshot "$work/root")
    run_program "$work/root/usr" "$work/run.log"
    check_run "$work/root/usr" "$work/run.log"
    [ "$before" = "$(snapshot "$work/root")" ] || fail "the unpacked program wrote under its folder"
}

case "${1:-}" in
install) test_install ;;
deb_package) test_deb_package ;;
*) fail "usage: install.sh install|deb_package" ;;
esac
echo PASS
