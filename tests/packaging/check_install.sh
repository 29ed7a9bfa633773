#!/usr/bin/env bash
# Installs a build into a scratch prefix and checks what a desktop relies on: the command in
# bin/ reaching the real executable, the help files beside it (the program looks for them
# there), the tool, the desktop entry, icons and MIME type, AppStream metadata, man pages and
# shell completion, and that the installed program starts and stays up.
#
# usage: check_install.sh BUILD_DIR [CMAKE]   install BUILD_DIR into a scratch prefix, check it
#        check_install.sh --root PREFIX       check a tree installed already, e.g. the /usr of
#                                             an unpacked .deb
set -uo pipefail

if [ $# -lt 1 ] || { [ "$1" = "--root" ] && [ $# -ne 2 ]; }; then
    echo "usage: $0 BUILD_DIR [CMAKE] | $0 --root PREFIX" >&2
    exit 2
fi

work=$(mktemp -d)
program_pid=""
cleanup() {
    if [ -n "$program_pid" ]; then
        kill "$program_pid" 2>/dev/null
        wait "$program_pid" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
pass() {
    echo "ok: $*"
}

if [ "$1" = "--root" ]; then
    prefix=$(realpath -e "$2") || exit 2
else
    build=$1
    cmake=${2:-cmake}
    prefix="$work/root"
    if ! "$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
        cat "$work/install.log" >&2
        echo "FAIL: cmake --install $build" >&2
        exit 1
    fi
fi

# --- the command and the private program folder -------------------------------------------

link="$prefix/bin/murmelix"
program="$prefix/lib/murmelix/murmelix"
if [ ! -L "$link" ]; then
    fail "bin/murmelix is not a symlink"
else
    target=$(readlink "$link")
    # An absolute link would point outside the prefix once the tree is packaged or moved.
    case "$target" in
    /*) fail "bin/murmelix points to the absolute path $target" ;;
    *) pass "bin/murmelix -> $target" ;;
    esac
    if [ "$(realpath -e "$link" 2>/dev/null)" = "$(realpath -e "$program" 2>/dev/null)" ] &&
        [ -x "$program" ]; then
        pass "bin/murmelix resolves to lib/murmelix/murmelix"
    else
        fail "bin/murmelix does not resolve to an executable lib/murmelix/murmelix"
    fi
fi

for page in manual.html quickstart.html; do
    if [ -s "$prefix/lib/murmelix/$page" ]; then
        pass "help file $page beside the program"
    else
        fail "help file $page missing beside the program"
    fi
done

if "$prefix/bin/murmelix-cli" --help >"$work/cli.txt" 2>&1 && grep -q "murmelix-cli" "$work/cli.txt"; then
    pass "murmelix-cli --help"
else
    fail "murmelix-cli --help: $(head -c 300 "$work/cli.txt" 2>/dev/null)"
fi

# --- desktop entry, icons, MIME type ---------------------------------------------------------

desktop="$prefix/share/applications/murmelix.desktop"
mime="$prefix/share/mime/packages/murmelix.xml"
if [ ! -f "$desktop" ]; then
    fail "share/applications/murmelix.desktop missing"
else
    if command -v desktop-file-validate >/dev/null; then
        if out=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$out" ]; then
            pass "desktop entry validates"
        else
            fail "desktop-file-validate: $out"
        fi
    else
        echo "skipped: desktop-file-validate not installed"
    fi
    exec_word=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
    if [ -n "$exec_word" ] && [ -x "$prefix/bin/$exec_word" ]; then
        pass "Exec=$exec_word is installed in bin/"
    else
        fail "Exec=$exec_word is not an installed command"
    fi
fi

icon_name=$(sed -n 's/^Icon=//p' "$desktop" 2>/dev/null)
png_size() {
    # Width and height from the PNG header, as "WxH".
    od -An -tu1 -j16 -N8 "$1" 2>/dev/null |
        awk '{ printf "%dx%d", (($1*256+$2)*256+$3)*256+$4, (($5*256+$6)*256+$7)*256+$8 }'
}
for size in 48 128 256; do
    icon="$prefix/share/icons/hicolor/${size}x${size}/apps/${icon_name:-murmelix}.png"
    actual=$(png_size "$icon")
    if [ "$actual" = "${size}x${size}" ]; then
        pass "icon ${size}x${size}"
    else
        fail "icon ${size}x${size}: ${actual:-missing} ($icon)"
    fi
done
if grep -q "<svg" "$prefix/share/icons/hicolor/scalable/apps/${icon_name:-murmelix}.svg" 2>/dev/null; then
    pass "scalable icon"
else
    fail "scalable icon missing"
fi

if [ ! -f "$mime" ]; then
    fail "share/mime/packages/murmelix.xml missing"
else
    if command -v xmllint >/dev/null; then
        if xmllint --noout "$mime" 2>"$work/xmllint.txt"; then
            pass "MIME package is well formed"
        else
            fail "xmllint: $(cat "$work/xmllint.txt")"
        fi
    else
        echo "skipped: xmllint not installed"
    fi
    session_type=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$mime")
    if [ -n "$session_type" ] && grep -q "^MimeType=.*$session_type;" "$desktop" 2>/dev/null; then
        pass "desktop entry opens $session_type"
    else
        fail "desktop entry does not list the session type '$session_type'"
    fi
    # Building a MIME database from the package is what a desktop does with it; a file the
    # database tool rejects or ignores never gives .oqt files a type.
    if command -v update-mime-database >/dev/null; then
        mkdir -p "$work/mime"
        cp -r "$prefix/share/mime/packages" "$work/mime/"
        if update-mime-database "$work/mime" >"$work/mime.log" 2>&1 &&
            [ -f "$work/mime/$session_type.xml" ] &&
            grep -q ":$session_type:\*\.oqt" "$work/mime/globs2"; then
            pass "MIME database maps *.oqt to $session_type"
        else
            fail "MIME database does not map *.oqt: $(cat "$work/mime.log")"
        fi
    else
        echo "skipped: update-mime-database not installed"
    fi
fi

# --- AppStream metadata, man pages, shell completion ----------------------------------------

metainfo=$(ls "$prefix"/share/metainfo/*.metainfo.xml 2>/dev/null | head -n 1)
if [ -z "$metainfo" ]; then
    fail "no AppStream metadata in share/metainfo"
else
    if grep -q "<launchable type=\"desktop-id\">$(basename "$desktop")</launchable>" "$metainfo"; then
        pass "AppStream metadata launches $(basename "$desktop")"
    else
        fail "AppStream metadata does not name $(basename "$desktop") as its launchable"
    fi
    if command -v appstreamcli >/dev/null; then
        if appstreamcli validate --no-net "$metainfo" >"$work/appstream.txt" 2>&1; then
            pass "AppStream metadata validates"
        else
            fail "appstreamcli validate: $(cat "$work/appstream.txt")"
        fi
    else
        echo "skipped: appstreamcli not installed"
    fi
fi

for command in murmelix murmelix-cli; do
    page="$prefix/share/man/man1/$command.1.gz"
    if ! gzip -t "$page" 2>/dev/null; then
        fail "man page $command.1.gz missing or not gzipped"
    elif ! command -v man >/dev/null; then
        pass "man page $command.1.gz (not rendered: man not installed)"
    elif LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>"$work/man.txt" |
        grep -q "^NAME" && [ ! -s "$work/man.txt" ]; then
        pass "man page $command.1.gz renders without warnings"
    else
        fail "man page $command.1.gz: $(head -c 300 "$work/man.txt")"
    fi
done

completion="$prefix/share/bash-completion/completions/murmelix-cli"
if [ ! -f "$completion" ]; then
    fail "bash completion for murmelix-cli missing"
elif [ -f /usr/share/bash-completion/bash_completion ]; then
    # What the user sees after typing "murmelix-cli ses<Tab>" and "session <Tab>".
    words=$(bash -c 'source /usr/share/bash-completion/bash_completion && source "$1" &&
        for line in "murmelix-cli ses" "murmelix-cli session "; do
            read -ra COMP_WORDS <<<"$line"; [[ $line == *" " ]] && COMP_WORDS+=("")
            COMP_CWORD=$((${#COMP_WORDS[@]} - 1)) COMP_LINE=$line COMP_POINT=${#line}
            _murmelix_cli murmelix-cli "${COMP_WORDS[-1]}" "${COMP_WORDS[-2]}"
            echo "${COMPREPLY[*]}"
        done' bash "$completion" 2>&1)
    if [ "$words" = "$(printf 'session\nshow export transcribe table')" ]; then
        pass "bash completion completes commands"
    else
        fail "bash completion: $words"
    fi
else
    bash -n "$completion" && pass "bash completion parses (bash-completion not installed)" ||
        fail "bash completion does not parse"
fi

# --- the installed program starts ----------------------------------------------------------

# Started through the symlink from a foreign folder, with its own home, so neither the build
# tree nor the user's settings are involved. Without a sound server it shows a message box
# and waits, which still counts as running.
mkdir -p "$work/home" "$work/cwd"
(
    cd "$work/cwd" &&
        HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" QT_QPA_PLATFORM=offscreen \
            exec timeout 5 "$link"
) >"$work/program.log" 2>&1 &
program_pid=$!
sleep 2
if kill -0 "$program_pid" 2>/dev/null; then
    pass "installed murmelix is running after 2 s"
else
    wait "$program_pid"
    status=$?
    program_pid=""
    fail "installed murmelix exited early with status $status: $(head -c 500 "$work/program.log")"
fi

if [ "$failures" -ne 0 ]; then
    echo "installed files:" >&2
    (cd "$prefix" && find . | sort) >&2
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "all install checks passed"
