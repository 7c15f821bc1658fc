// Telling the user about stored rules the plug-in could not read.
#include "config/unreadable_settings_notice.h"

#include "common/ansi_encoding.h"
#include "config/text_lint_config.h"

#include <string>
#include <vector>

namespace quill {

void showUnreadableSettingsNotice(HWND owner) {
    TextLintConfig &config = TextLintConfig::getInstance();
    const std::vector<std::string> keys = config.takeUnreadableKeys();
    if (keys.empty())
        return;
    std::wstring names;
    for (const std::string &key : keys) {
        if (!names.empty())
            names += L"と";
        names += wideFromAnsi(key);
    }
    const std::wstring text = L"設定ファイル（" + wideFromAnsi(config.getIniFilePath()) + L"）の" +
                              names +
                              L"を読み取れなかったため、校正ルールなしで動作します。"
                              L"読み取れなかった値は書き換えずにそのまま残します。"
                              L"設定ファイルを直すか、設定画面でルールを入れ直して下さい。";
    MessageBoxW(owner, text.c_str(), L"Quillcheck Plugin Error", MB_OK);
}

} // namespace quill
