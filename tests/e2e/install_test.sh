#!/usr/bin/env bash
# The release files under Wine, as a user meets them, in a fresh prefix: the
# portable zip unpacks and runs; the MSI installs silently, its program
# starts, a newer MSI replaces it while it runs, an older one is refused, and
# the uninstall removes the files, the shortcut and the logon entry while the
# user's settings and task log stay. A folder the user chose is kept by an
# upgrade and emptied by the uninstall.
#
#   install_test.sh BUILD_DIR   (a Windows build: kelvane.exe and the rest)
set -uo pipefail
# shellcheck source=tests/e2e/support/release_checks.sh
. "$(dirname "$0")/support/release_checks.sh" install "$@"
prefix="$work/prefix"
own_display=""
cleanup() {
  WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1
  [ -z "$own_display" ] || "$root/scripts/xvfb-start.sh" --stop "$own_display"
  rm -rf "$work"
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  own_display=$("$root/scripts/xvfb-start.sh") || exit 1
  export DISPLAY="$own_display"
fi
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# Polls a command until it succeeds or `seconds` have passed.
within() {
  local seconds="$1" deadline
  shift
  deadline=$((SECONDS + seconds))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.2
  done
}

# The data of a registry value, or nothing when it is missing.
reg_value() {
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
    awk -v name="$2" '$1 == name { sub(/^[ \t]*[^ \t]+[ \t]+[^ \t]+[ \t]*/, ""); print }'
}

run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
config_key='HKCU\Software\Kelvane\CONFIG'
# Named as the program names its own logon entry: its base name and ".Exe".
run_value() { reg_value "$run_key" kelvane.Exe; }
run_value_is() { [ "$(run_value)" = "$1" ]; }
run_value_missing() { [ -z "$(run_value)" ]; }

# Apps & Features' entries for Kelvane, per-user or per-machine, one line each.
uninstall_entries() {
  local hive
  for hive in HKCU HKLM; do
    wine reg query "$hive\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall" /s 2>/dev/null | tr -d '\r' |
      awk '/^HKEY_/ { key = $0 } $1 == "DisplayName" && $3 == "Kelvane" { print key }'
  done
}
entry_count_is() { [ "$(uninstall_entries | grep -c .)" -eq "$1" ]; }
entry_value() { reg_value "$(uninstall_entries | head -n 1)" "$1"; }
entry_value_is() { [ "$(entry_value "$1")" = "$2" ]; }

main_window() { xdotool search --onlyvisible --name '^ Kelvane$' 2>/dev/null | head -n 1; }
has_main_window() { [ -n "$(main_window)" ]; }
has_no_window() { [ -z "$(xdotool search --name '^ Kelvane$' 2>/dev/null)" ]; }

# Starts a program under Wine and waits for its main window; the Unix process
# that stands for it is in $program.
program=""
start_program() {
  wine "$1" >/dev/null 2>&1 &
  program=$!
  within 60 has_main_window
}
# A process that ended but was not waited for yet is a zombie.
program_ended() {
  [ ! -e "/proc/$program" ] || [ "$(awk '{ print $3 }' "/proc/$program/stat" 2>/dev/null)" = Z ]
}

msiexec() { wine msiexec "$@" >/dev/null 2>&1; }
is_icon_file() { [ -f "$1" ] && [ "$(head -c 4 "$1" | od -An -tx1 | tr -d ' ')" = 00000100 ]; }
# A shortcut stores its target's path; this one must name the installed exe.
shortcut_names() { strings -a -el "$1" | grep -qiF "$2" || strings -a "$1" | grep -qiF "$2"; }

echo "== packages: 1.0.0 and 1.0.1 of this build"
# The help document is written elsewhere; a stand-in checks that both
# packages carry the one the build provides.
help="$work/help.pdf"
printf '%%PDF-1.4\n%% stand-in for the help document\n%%%%EOF\n' >"$help"
for version in 1.0.0 1.0.1; do
  "$root/scripts/package.sh" --build "$build" --out "$work/$version" --version "$version" --help-file "$help" \
    >/dev/null || die "package.sh $version"
done
check "the exe is at most 512 KiB" [ "$(stat -c %s "$build/kelvane.exe")" -le $((512 * 1024)) ]

"$root/scripts/wine-copy-prefix.sh" "$("$root/scripts/wine-prefix.sh")" "$prefix" || die "no Wine prefix"
old_msi=$(winepath -w "$work/1.0.0/kelvane-1.0.0-x64.msi" 2>/dev/null)
new_msi=$(winepath -w "$work/1.0.1/kelvane-1.0.1-x64.msi" 2>/dev/null)
local_app_data=$(winepath -u "$(wine cmd /c echo %LOCALAPPDATA% | tr -d '\r')" 2>/dev/null)
app_data=$(winepath -u "$(wine cmd /c echo %APPDATA% | tr -d '\r')" 2>/dev/null)
[ -d "$local_app_data" ] && [ -d "$app_data" ] || die "the prefix's profile folders"
install_dir="$local_app_data/Programs/Kelvane"
installed_exe="$(winepath -w "$install_dir" 2>/dev/null)\\kelvane.exe"
shortcut="$app_data/Microsoft/Windows/Start Menu/Programs/Kelvane.lnk"

echo "== the portable zip, unpacked into a folder with a blank in its name"
portable_dir="$prefix/drive_c/Portable Kelvane"
mkdir -p "$portable_dir"
unzip -q "$work/1.0.0/kelvane-1.0.0-x64-portable.zip" -d "$portable_dir" || die "unzip"
check "it holds the exe of the build" same_file "$portable_dir/kelvane.exe" "$build/kelvane.exe"
check "it holds the help document" same_file "$portable_dir/kelvane.pdf" "$help"
check "it holds the text file, with Windows line ends" grep -q $'\r$' "$portable_dir/README.txt"
start_program 'C:\Portable Kelvane\kelvane.exe' || die "the portable program shows no main window"
echo "ok: the portable program shows its main window"
portable_entry='"C:\Portable Kelvane\kelvane.Exe"'
check "it starts at sign-in from its own folder" within 20 run_value_is "$portable_entry"
wineserver -k
check "it ended" within 20 program_ended

echo "== install 1.0.0"
# What a user of the program has made: a setting and a task log.
wine reg add "$config_key" /v tPeriod /d 37 /f >/dev/null 2>&1
mkdir -p "$app_data/Kelvane"
printf 'a task ran\r\n' >"$app_data/Kelvane/TasksLog.txt"
cp "$app_data/Kelvane/TasksLog.txt" "$work/log-before"
msiexec /i "$old_msi" /qn || die "msiexec /i 1.0.0 /qn"
check "the exe is in the user's programs folder" same_file "$install_dir/kelvane.exe" "$build/kelvane.exe"
check "the help document is beside it" same_file "$install_dir/kelvane.pdf" "$help"
check "the Start menu has a shortcut to it" shortcut_names "$shortcut" "Programs\\Kelvane\\kelvane.exe"
check "Apps & Features lists Kelvane once" entry_count_is 1
check "with version 1.0.0" entry_value_is DisplayVersion 1.0.0
check "and publisher Kelvane" entry_value_is Publisher Kelvane
check "and the install folder" entry_value_is InstallLocation "$(winepath -w "$install_dir" 2>/dev/null)\\"
packed_icon=$(wine reg query 'HKCU\Software\Microsoft\Installer\Products' /s 2>/dev/null | tr -d '\r' |
  awk '$1 == "ProductIcon" { sub(/^[ \t]*[^ \t]+[ \t]+[^ \t]+[ \t]*/, ""); print }' | head -n 1)
check "and the program's icon" is_icon_file "$(winepath -u "$packed_icon" 2>/dev/null)"
check "installing leaves the portable copy's sign-in entry" run_value_is "$portable_entry"

echo "== run the installed program"
start_program "$installed_exe" || die "the installed program shows no main window"
echo "ok: the installed program shows its main window"
installed_entry="\"$(winepath -w "$install_dir" 2>/dev/null)\\kelvane.Exe\""
check "it starts at sign-in from the install folder" within 20 run_value_is "$installed_entry"

echo "== install 1.0.1 over it while it runs"
msiexec /i "$new_msi" /qn
rc=$?
check "the installer succeeds" [ "$rc" -eq 0 ]
check "the running program was closed" within 20 program_ended
check "and its window is gone" has_no_window
check "Apps & Features lists Kelvane once" entry_count_is 1
check "with version 1.0.1" entry_value_is DisplayVersion 1.0.1
check "the exe is in place" same_file "$install_dir/kelvane.exe" "$build/kelvane.exe"
check "the help document is in place" same_file "$install_dir/kelvane.pdf" "$help"
check "the shortcut is in place" shortcut_names "$shortcut" "Programs\\Kelvane\\kelvane.exe"
check "the sign-in entry stays" run_value_is "$installed_entry"
check "the user's setting stays" [ "$(reg_value "$config_key" tPeriod)" = 37 ]
check "the task log stays" same_file "$app_data/Kelvane/TasksLog.txt" "$work/log-before"

echo "== install 1.0.0 over 1.0.1"
msiexec /i "$old_msi" /qn
rc=$?
check "the older installer refuses" [ "$rc" -ne 0 ]
check "1.0.1 stays installed" entry_value_is DisplayVersion 1.0.1

echo "== uninstall while the program runs, as Apps & Features does"
start_program "$installed_exe" || die "the upgraded program shows no main window"
echo "ok: the upgraded program shows its main window"
product_code=$(uninstall_entries | head -n 1 | sed 's/.*\\//')
msiexec /x "$product_code" /qn
rc=$?
check "the uninstall succeeds" [ "$rc" -eq 0 ]
check "the running program was closed" within 20 program_ended
check "the install folder is gone" [ ! -e "$install_dir" ]
check "and the user's Programs folder, which held only Kelvane" [ ! -e "$local_app_data/Programs" ]
check "the shortcut is gone" [ ! -e "$shortcut" ]
check "the sign-in entry is gone" run_value_missing
check "Apps & Features no longer lists Kelvane" entry_count_is 0
check "the user's setting stays" [ "$(reg_value "$config_key" tPeriod)" = 37 ]
check "the task log stays" same_file "$app_data/Kelvane/TasksLog.txt" "$work/log-before"

echo "== install into a folder the user chose, upgrade, uninstall"
chosen_dir="$prefix/drive_c/Tools/Kelvane"
msiexec /i "$old_msi" 'INSTALLFOLDER=C:\Tools\Kelvane\' /qn || die "msiexec /i 1.0.0 INSTALLFOLDER=... /qn"
check "the exe is in the chosen folder" same_file "$chosen_dir/kelvane.exe" "$build/kelvane.exe"
msiexec /i "$new_msi" /qn || die "msiexec /i 1.0.1 /qn"
check "the upgrade keeps to the chosen folder" same_file "$chosen_dir/kelvane.exe" "$build/kelvane.exe"
check "and does not use the default one" [ ! -e "$install_dir" ]
check "with version 1.0.1" entry_value_is DisplayVersion 1.0.1
wine reg add "$run_key" /v kelvane.Exe /d "$portable_entry" /f >/dev/null 2>&1
msiexec /x "$(uninstall_entries | head -n 1 | sed 's/.*\\//')" /qn || die "msiexec /x"
check "the uninstall empties the chosen folder" [ ! -e "$chosen_dir" ]
check "a sign-in entry for the portable copy stays" run_value_is "$portable_entry"
report
