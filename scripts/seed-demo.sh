#!/usr/bin/env bash
# Writes a few sample jobs into a data folder that has none yet.
set -euo pipefail
dir="$1"
mkdir -p "$dir/info"
if ls "$dir/info/"*.ini > /dev/null 2>&1; then exit 0; fi
job() {  # number type uri name
  printf '[COMMON]\r\nNO=%s\r\nURI=%s\r\nNAME=%s\r\nUSEPROXY=0\r\nUSEUSERMAIL=0\r\nUSERMAILHTML=0\r\nMAILGROUP=0\r\nCHKKOBETSU=0\r\nCHKHIKAKU=0\r\nCHKSCRIPT=0\r\nCHKCOMMENT=0\r\nCHKREF=0\r\nCHKSRC=0\r\nCHKALT=0\r\nCHKHEAD=0\r\nCHKWORD=0\r\nWORD=\r\nCHKSUBFOLDER=0\r\nTYPE=%s\r\nSOURCE=\r\nCHECK=\r\n' \
    "$1" "$3" "$4" "$2" | iconv -f UTF-8 -t CP932 > "$dir/info/$1.ini"
}
job 1 URL "https://www.debian.org/" "Debian"
job 2 FILE "$dir/info/" "ジョブフォルダ"
job 3 PROC "OrvisWatch" "監視プログラム"
job 4 DRIVE "/:1" "ルート残量"
