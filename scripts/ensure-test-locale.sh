#!/usr/bin/env bash
# Makes the decimal-comma locale that the locale tests switch to (de_DE.UTF-8) available.
# Generating a locale needs root and the locale sources of the Debian package "locales". Without them the
# script explains why and exits 0: the locale tests then skip with that reason instead of failing.
set -euo pipefail

name=de_DE.UTF-8
have_locale() { locale -a 2>/dev/null | grep -qixE 'de_DE\.utf-?8'; }

if have_locale; then
    exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
    echo "note: $name is not installed and generating it needs root; the locale tests will be skipped." >&2
    echo "      Run: sudo localedef -i de_DE -f UTF-8 $name" >&2
    exit 0
fi
if [ ! -e /usr/share/i18n/locales/de_DE ] || ! command -v localedef >/dev/null; then
    echo "note: the locale sources are missing (Debian package \"locales\"); the locale tests will be skipped." >&2
    exit 0
fi

echo "Generating locale $name"
if [ -f /etc/locale.gen ] && command -v locale-gen >/dev/null; then
    # Keep it generated when locale-gen runs again later.
    if grep -qE '^#? *de_DE\.UTF-8 UTF-8' /etc/locale.gen; then
        sed -i -E 's/^# *(de_DE\.UTF-8 UTF-8)/\1/' /etc/locale.gen
    else
        echo 'de_DE.UTF-8 UTF-8' >>/etc/locale.gen
    fi
    locale-gen >/dev/null
else
    localedef -i de_DE -f UTF-8 "$name"
fi

if ! have_locale; then
    echo "error: $name could not be generated" >&2
    exit 1
fi
