# The project's wine environment, sourced by scripts/wine-env.sh and
# scripts/wine-run so both run wine the same way: the prefix in build/wine,
# no debug channels, no Mono, Gecko or menu builder, ANSI code page 936 as on
# this product's users' machines. Expects $root, the project's folder.
wine_state=$root/build/wine
export WINEPREFIX=$wine_state/prefix
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LANG=zh_CN.UTF-8
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
