# Sourced by the scripts that run Windows programs: one Wine set-up for all of them.
# Usage: source scripts/wine-env.sh PREFIX
WINE_BIN=/usr/lib/wine/wine64          # the 64-bit loader; /usr/bin/wine may pick a 32-bit one
WINESERVER_BIN=/usr/lib/wine/wineserver
export WINEPREFIX="$1"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LANG=C.UTF-8                    # one LANG per prefix: another would rewrite its code page
