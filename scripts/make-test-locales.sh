#!/usr/bin/env bash
# Compiles the Japanese locales the console tests use (UTF-8 and Shift_JIS)
# when they are missing. Tests that need one skip themselves if it is absent.
set -uo pipefail
have() { locale -a 2>/dev/null | grep -qix "$1"; }
sudo=""
if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
command -v localedef >/dev/null || exit 0
have ja_JP.utf8 || $sudo localedef -i ja_JP -f UTF-8 ja_JP.UTF-8 >/dev/null 2>&1 || true
# Shift_JIS is not ASCII compatible, so localedef warns; -c writes it anyway.
have ja_JP.sjis || $sudo localedef -c -i ja_JP -f SHIFT_JIS ja_JP.SJIS >/dev/null 2>&1 || true
exit 0
