#pragma once
// What the capture's failure message says after "№" and the job number (UTF-8).

inline constexpr const char* kCaptureFailureTail =
    "のソース取得に失敗しました。\r\n次の確認を行ってください。\r\n\r\n"
    "・指定のURLは正しいですか？「URIを画面でチェック」ボタンを押下してご確認をお願いします。\r\n"
    "・ORVISのインストールパスにスペースが入っているフォルダ名がありませんか？\r\n"
    "・JRE5（JavaRuntimeEnvironment）以上がセットアップされていますか？\r\n"
    "・インターネット環境(PROXYにご注意)に接続されていますか？\r\n"
    "・指定のドライブは正しいですか？\r\n"
    "・パスワードで保護されたURLではありませんか？";
