#!/usr/bin/env bash
# Writes a dozen sample jobs of all four types into a data folder that has
# none yet: seed-demo.sh DATA_FOLDER
# With --settings: sample settings, mail account and mail groups instead.
set -euo pipefail
if [ "$1" = "--settings" ]; then
  dir="$2"
  mkdir -p "$dir/mail"
  sj() { iconv -f UTF-8 -t CP932 | sed 's/$/\r/' > "$1"; }
  sj "$dir/ORVIS.ini" <<'INI'
[COMMON]
VALIDDAY=30
CHECKINTERVAL=15
REACTIVATION=02:30
PLAYCOUNTDISCON=3
USERAGENT=NewORVIS Connection
PROXYIP=192.168.0.1
PROXYPORT=8080
SOURCE_CHECK=YES
SCRIPT_IGNORE=YES
COMMENT_IGNORE=YES
MAILGROUPCOUNT=2
INI
  sj "$dir/mail/Postiva.ini" <<'INI'
[メール同報システム]
SMTPServer=smtp.example.jp
クライアント名称=orvis-host
送信元メールアドレス=orvis@example.jp
送信元名称=監視システム
SMTP=SMTP-AUTH
SMTPID=orvis
SMTPPWD=secret
SMTPPORT=587
INI
  chmod 600 "$dir/mail/Postiva.ini"
  echo 情報システム部 | sj "$dir/mail/Group-0.txt"
  echo 営業部 | sj "$dir/mail/Group-1.txt"
  printf 'taro.yamada@example.jp,0\nhanako.suzuki@example.jp,0\nsales@example.jp,1\n' | sj "$dir/mail/list.txt"
  exit 0
fi
dir="$1"
mkdir -p "$dir/info"
if ls "$dir/info/"*.ini > /dev/null 2>&1; then exit 0; fi
job() {  # number type target name group source check [flags...]
  local no="$1" type="$2" uri="$3" name="$4" group="$5" source="$6" check="$7"
  shift 7
  local proxy=0 usermail=0 html=0 kobetsu=0 word=0
  for f in "$@"; do
    case "$f" in
      proxy) proxy=1 ;; usermail) usermail=1 ;; html) html=1 ;; kobetsu) kobetsu=1 ;; word) word=1 ;;
    esac
  done
  printf '[COMMON]\r\nNO=%s\r\nURI=%s\r\nNAME=%s\r\nUSEPROXY=%s\r\nUSEUSERMAIL=%s\r\nUSERMAILHTML=%s\r\nMAILGROUP=%s\r\nCHKKOBETSU=%s\r\nCHKHIKAKU=%s\r\nCHKSCRIPT=%s\r\nCHKCOMMENT=0\r\nCHKREF=0\r\nCHKSRC=0\r\nCHKALT=0\r\nCHKHEAD=0\r\nCHKWORD=%s\r\nWORD=%s\r\nCHKSUBFOLDER=0\r\nTYPE=%s\r\nSOURCE=%s\r\nCHECK=%s\r\n' \
    "$no" "$uri" "$name" "$proxy" "$usermail" "$html" "$group" "$kobetsu" "$kobetsu" "$kobetsu" \
    "$word" "$( [ "$word" = 1 ] && echo 障害 || true )" "$type" "$source" "$check" |
    iconv -f UTF-8 -t CP932 > "$dir/info/$no.ini"
}
job 1  URL   "https://www.debian.org/"             "Debian"          0 1 1
job 2  URL   "https://www.example.com/"            "重要"            0 1 1 kobetsu
job 3  URL   "https://www.example.org/news.html"   "お知らせページ"  1 1 0 word
job 4  URL   "http://intranet.example.jp/status"   "社内ポータル"    1 1 1 proxy usermail html
job 5  FILE  "$dir/info/"                          "ジョブフォルダ"  0 1 1
job 6  FILE  "/etc/hosts"                          "hosts"           0 1 1
job 7  FILE  "/var/log/*.log"                      "ログフォルダ"    1 1 1 usermail
job 8  PROC  "OrvisWatch"                          "監視プログラム"  0 1 1
job 9  PROC  "sshd"                                "SSHサーバー"     0 1 1
job 10 PROC  "cron"                                "cron"            1 "" ""
job 11 DRIVE "/:1"                                 "ルート残量"      0 1 1
job 12 DRIVE "/home:5"                             "ホーム残量"      0 1 1
