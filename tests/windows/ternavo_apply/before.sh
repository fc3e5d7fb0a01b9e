#!/usr/bin/env bash
# A folder that was a link before Wine started: C:\wt-before\link leads to
# C:\wt-before\real, where the worker's tests put an ICQ 7.
set -eu
mkdir -p "$WINEPREFIX/drive_c/wt-before/real"
ln -s real "$WINEPREFIX/drive_c/wt-before/link"
