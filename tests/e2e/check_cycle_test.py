"""The installed monitor's service start checking jobs of every type, without
a display: the first automatic pass one period after the start, its results,
log lines, baselines and generations, and the alert mails it hands to the
group mailer."""

import http.server
import os
import re
import sys
import threading
import time
import unittest

from orvis_e2e import DataFolder, LINE, install_recording_mailer, stop

STAGE = sys.argv.pop(1) if len(sys.argv) > 1 else "build/stage"

PAGE = "<html><head><title>監視</title></head><body>new page: 新しいページ</body></html>\r\n"
OLD_PAGE = "<html><head><title>監視</title></head><body>old page: 古いページ</body></html>\r\n"


class Pages(http.server.BaseHTTPRequestHandler):
    requests = []

    def log_message(self, *args):
        pass

    def do_GET(self):
        Pages.requests.append(self.path)
        if self.path == "/page.html":
            body = PAGE.encode("cp932")
            self.send_response(200)
            self.send_header("Content-Type", "text/html; charset=Shift_JIS")
        else:
            body = b"not here"
            self.send_response(404)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)


def stamp(t):
    return time.strftime("%Y/%m/%d %H:%M:%S", time.localtime(t))


def free_megabytes(path):
    s = os.statvfs(path)
    return s.f_bfree * s.f_frsize // 1024 // 1024


def in_order(lines, wanted):
    """The first of `wanted` not found in `lines` in that order, or None."""
    at = 0
    for w in wanted:
        try:
            at = lines.index(w, at) + 1
        except ValueError:
            return w
    return None


class ServiceCheckPass(unittest.TestCase):
    def setUp(self):
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Pages)
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.addCleanup(self.server.server_close)
        self.addCleanup(self.server.shutdown)
        self.data = DataFolder(STAGE, programs=("OrvisWatch", "urlcheck"))
        self.addCleanup(self.data.cleanup)

    def job(self, no, type_, uri, *extra):
        lines = ["[COMMON]", "NO=%s" % no, "URI=%s" % uri, "NAME=job %s" % no, "MAILGROUP=0",
                 "TYPE=%s" % type_] + list(extra) + ["SOURCE=1", "CHECK="]
        self.data.write("info/%s.ini" % no, "\r\n".join(lines) + "\r\n")

    def test_first_pass_checks_every_type_and_mails_the_group(self):
        d = self.data
        port = self.server.server_address[1]
        page_uri = "http://127.0.0.1:%d/page.html" % port
        install_recording_mailer(d)
        d.write("ORVIS.ini", "[COMMON]\r\nCHECKINTERVAL=1\r\nMAILGROUPCOUNT=1\r\n")
        d.write("mail/list.txt", "watch@example.com,0\r\n")
        d.write("mail/Group-0.txt", "監視グループ\r\n")

        # A page that changed, with its word on it.
        self.job(1, "URL", page_uri, "CHKWORD=1", "WORD=監視")
        d.write("src/1.ini", OLD_PAGE)
        # A folder: one file touched, one deleted, one added.
        folder = os.path.join(d.root, "target")
        os.makedirs(folder)
        t0, t1 = 1765000000, 1765003600
        for name, t in (("a.txt", t1), ("new.txt", t0)):
            with open(os.path.join(folder, name), "w") as f:
                f.write(name)
            os.utime(os.path.join(folder, name), (t, t))
        self.job(2, "FILE", folder)
        d.write("src/2.ini", "%s@%s/a.txt\r\n%s@%s/gone.txt\r\n" % (stamp(t0), folder, stamp(t0), folder))
        # The monitor itself, which was not running at the baseline.
        self.job(3, "PROC", "OrvisWatch")
        d.write("src/3.ini", "000001 000000 init\r\n")
        # The root file system, with a threshold above what is free and a
        # previous reading above the threshold.
        threshold = free_megabytes("/") // 1024 + 1000
        self.job(4, "DRIVE", "/:%d" % threshold)
        d.write("src/4.ini", "%d\r\n" % ((threshold + 1) * 1024))
        # A page that is never there.
        self.job(5, "URL", "http://127.0.0.1:%d/missing" % port)
        d.write("src/5.ini", "gone")

        proc = d.start("OrvisWatch", "OrvisWatchService")
        try:
            self.assertTrue(d.wait_for("バックグラウンドへ移行しました。"))
            self.assertTrue(d.wait_for("周期タイマー再設定しました。", timeout=100))
        finally:
            code = stop(proc)
        self.assertEqual(code, 0)
        log = d.log()
        messages = [m for _, m in log]
        self.assertEqual(messages[-1], "終了")

        # One period after the mode started, not at once.
        times = {}
        for name in d.log_files():
            for line in d.read_bytes("syslog/" + name).decode("cp932").split("\r\n"):
                m = LINE.match(line)
                if m and m.group(2) not in times:
                    times[m.group(2)] = time.mktime(time.strptime(line[:19], "%Y/%m/%d,%H:%M:%S"))
        waited = times["自動チェック処理開始しました。"] - times["自動チェックモードに移行しました。"]
        self.assertGreaterEqual(waited, 59)
        self.assertLessEqual(waited, 62)

        checks = {no: d.read_bytes("info/%d.ini" % no).decode("cp932") for no in range(1, 6)}
        for no, result in ((1, "0"), (2, "0"), (3, "0"), (4, "0"), (5, "R")):
            self.assertIn("\r\nCHECK=%s\r\n" % result, checks[no], "job %d" % no)

        # Baselines replaced, the old ones their first generation.
        self.assertEqual(d.read_bytes("src/1.ini"), PAGE.encode("cp932"))
        self.assertEqual(d.read_bytes("src/1.ini.1"), OLD_PAGE.encode("cp932"))
        self.assertEqual(d.read_bytes("word/1.ini"), PAGE.encode("cp932"))
        self.assertFalse(os.path.exists(d.file("word/1.ini.1")))  # the first copy
        self.assertEqual(d.read_bytes("src/2.ini").decode("cp932"),
                         "%s@%s/a.txt\r\n%s@%s/new.txt\r\n" % (stamp(t1), folder, stamp(t0), folder))
        self.assertTrue(re.search(rb"^\d{6} \d{6} OrvisWatch\r$", d.read_bytes("src/3.ini"), re.M))
        self.assertEqual(d.read_bytes("src/3.ini.1"), b"000001 000000 init\r\n")
        reading = int(d.read_bytes("src/4.ini"))
        self.assertEqual(d.read_bytes("src/4.ini.1"), b"%d\r\n" % ((threshold + 1) * 1024))
        self.assertEqual(d.read_bytes("src/5.ini"), b"gone")
        self.assertFalse(os.path.exists(d.file("temp/srctemp.txt")))
        self.assertEqual(Pages.requests.count("/missing"), 4)
        self.assertEqual(Pages.requests.count("/page.html"), 1)

        file_entries = ["[更新][%s]->[%s] %s/a.txt" % (stamp(t0), stamp(t1), folder),
                        "[削除][%s]->[N/A] %s/gone.txt" % (stamp(t0), folder),
                        "[追加][N/A]->[%s] %s/new.txt" % (stamp(t0), folder)]
        drive_detail = "/ドライブの残量が%dGBとなりました。" % (reading // 1024)
        start = messages.index("自動チェック処理開始しました。")
        self.assertEqual(messages[start + 2:start + 15], [
            "1->チェック開始", "1チェックタイプ->URL", "1->チェック対象->" + page_uri,
            "1->基本設定でチェックします。", "1->SOURCE_CHECK:YES", "1->SCRIPT_IGNORE:",
            "1->COMMENT_IGNORE:", "1->HREF_IGNORE:", "1->SRC_IGNORE:", "1->ALT_IGNORE:",
            "1->HEAD_IGNORE:", "1->WORD_CHECK:YES", "1->WORD:監視"])
        self.assertIsNone(in_order(messages[start:], [
            "自動チェック処理開始しました。", "NEW ORVIS Monitor,MODIFYIcon():N/A",
            "起動成功", "1->ワードチェック開始 WORD=監視", "1->指定ワード検出", "メール送信起動成功",
            "1->ワードチェック終了", "not same code.src counter=45(1 origin)",
            "SRC(元  ファイル)=o", "CHK(取得ファイル)=n", "",
            "更新検出個所:<html><head><title>監視</title></head><body>o", "",
            "メール送信起動成功", "1->比較エラー",
            "2->チェック開始", "2チェックタイプ->FILE"] + file_entries + [
            "2->ファイル更新を検出", "メール送信起動成功",
            "3->チェック開始", "OrvisWatchが起動しました。", "3->プロセス状態更新を検出",
            "メール送信起動成功",
            "4->チェック開始", drive_detail, "4->ドライブ残量状態更新を検出", "メール送信起動成功",
            "5->チェック開始", "5->応答エラー", "5->接続リトライ", "5->応答エラー", "5->接続リトライ",
            "5->応答エラー", "5->接続リトライ", "5->応答エラー", "5->接続リトライオーバー",
            "メール送信起動成功", "Global,情報収集", "NEW ORVIS Monitor,MODIFYIcon():N/A",
            "エラー検出", "エラー検出", "エラー検出", "エラー検出", "Global,syslog整理",
            "周期タイマー再設定しました。"]))
        self.assertEqual(messages.count("エラー検出"), 4)

        # The mails, in the order of the alerts.
        mails = []
        for n in range(len(os.listdir(d.file("mailer-record")))):
            def recorded(name):
                return d.read_bytes(os.path.join("mailer-record", str(n), name)).decode("cp932")
            mails.append((recorded("args").split("\n")[:-1], recorded("Subject-0.txt"),
                          recorded("Body-0.txt")))
        self.assertEqual(len(mails), 6)
        subject = "【ORVIS】システムからメールグループ[監視グループ]への連絡です。\r\n"
        expected = [
            ("指定ワードを検出", "job 1", page_uri, "監視\r\n"),
            ("HTMLソース比較エラーを検出", "job 1", page_uri,
             "<html><head><title>監視</title></head><body>o\r\n"),
            ("ファイル更新を検出", "job 2", folder, "".join(e + "\r\n" for e in file_entries) + "\r\n"),
            ("プロセス状態更新を検出", "job 3", "OrvisWatch", "OrvisWatchが起動しました。\r\n"),
            ("ドライブ残量状態更新を検出", "job 4", "/:%d" % threshold, drive_detail + "\r\n"),
            ("応答エラーを検出しました。", None, "http://127.0.0.1:%d/missing" % port, None),
        ]
        for (args, subj, body), (message, name, uri, detail) in zip(mails, expected):
            self.assertEqual(args, [d.path + "/", "0", "0"])
            self.assertEqual(subj, subject)
            lines = body.split("\r\n")
            self.assertEqual(lines[0], "ORVISよりメッセージがあります。")
            self.assertIn("【内　容】" + message, lines)
            self.assertIn("【ＵＲＬ】" + uri, lines)
            if name:
                self.assertIn("【名　称】" + name, lines)
            else:
                self.assertFalse(any(l.startswith("【名　称】") for l in lines))
            if detail:
                self.assertTrue(body.endswith("【更新検出個所】\r\n" + detail + "\r\n"), body)
            else:
                self.assertNotIn("【更新検出個所】", body)


if __name__ == "__main__":
    unittest.main(verbosity=2)
