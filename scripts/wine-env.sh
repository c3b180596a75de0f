# Sourced by the run and test scripts: a wine prefix of our own under the build
# folder, a display, and a warm wineserver.
#   YK_WINE_ROOT   folder that holds the prefix and scratch HOME (required)

export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEPREFIX="$YK_WINE_ROOT/wineprefix"
export WINEDEBUG=-all
# No menu entries in $HOME, no Mono or Gecko install prompts.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=;mshtml="
export HOME="$YK_WINE_ROOT/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share"
export XDG_CACHE_HOME="$HOME/.cache" XDG_RUNTIME_DIR="$HOME/.runtime"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

yk_pids=()

# Starts Xvfb when no display is given.
yk_need_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    echo "Using display $DISPLAY"
    return
  fi
  # -displayfd lets Xvfb pick a free display itself, so parallel runs never collide.
  local fifo
  fifo="$(mktemp -u)"; mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  yk_pids+=($!)
  local n
  read -r n <"$fifo"; rm -f "$fifo"
  export DISPLAY=":$n"
  echo "No display given: started Xvfb on $DISPLAY"
}

# A fresh prefix: Japanese locale, IPA Gothic standing in for the Japanese
# Windows fonts the dialogs name, a virtual desktop with a taskbar.
yk_fresh_prefix() {
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
  wineboot -i </dev/null >/dev/null 2>&1 || true
  wineserver -w
  local reg="$YK_WINE_ROOT/desktop.reg"
  cat > "$reg" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops\Default]
"EnableShell"=dword:00000001

; A crashing test must end with its exit code, not wait in a debugger.
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Debugger"=""
"Auto"="1"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"ＭＳ Ｐゴシック"="IPAPGothic"
"ＭＳ ゴシック"="IPAGothic"
"MS UI Gothic"="IPAPGothic"
REG
  # regedit reads non-ASCII names only from UTF-16 files.
  iconv -f UTF-8 -t UTF-16 "$reg" > "$reg.utf16"
  wine regedit /S "$(winepath -w "$reg.utf16" 2>/dev/null)" </dev/null >/dev/null 2>&1 || true
  wineserver -w
}

yk_start_wineserver() {
  wineserver -p
  wine wineboot </dev/null >/dev/null 2>&1 || true
}

# What the test and benchmark runs start with: a display, a fresh prefix and a
# warm wineserver, all ended when the script exits.
yk_fresh_session() {
  trap yk_cleanup EXIT
  yk_need_display
  echo "Creating a fresh wine prefix in $WINEPREFIX"
  yk_fresh_prefix
  yk_start_wineserver
}

yk_cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  for p in "${yk_pids[@]}"; do kill "$p" 2>/dev/null || true; done
}
