// The texts the plug-in shell shows the user: menu items, command descriptions, message
// boxes and their captions.
//
// Why they are fixed: users and their mail client's settings know the commands by these
// names, and the English message texts name the Win32 call or buffer that failed in the
// plug-in's first design, as reports from users quote them. Change none of their bytes;
// new texts join them here.
#pragma once

namespace quill::plugin_text {

inline constexpr wchar_t ERROR_CAPTION[] = L"Quillcheck Plugin Error";
inline constexpr wchar_t INFO_CAPTION[] = L"Quillcheck Plugin Info";

// The two commands: the descriptions given to the host and the items of the menus.
inline constexpr wchar_t CHECK_DESCRIPTION[] = L"校正";
inline constexpr wchar_t AUTO_FIX_DESCRIPTION[] = L"自動修正校正";
inline constexpr wchar_t CHECK_ITEM[] = L"校正(&R)";
inline constexpr wchar_t AUTO_FIX_ITEM[] = L"自動修正校正(&I)";

inline constexpr wchar_t FIX_NOT_REPRESENTABLE[] =
    L"自動修正の結果にメールの文字コードで表せない文字が含まれるため、メールを書き換えません"
    L"でした。";

// The compose hook.
inline constexpr wchar_t HOOK_FAILED[] =
    L"SetWindowHookEx() failed. cannot hook message of compose window.";
inline constexpr wchar_t UNHOOK_FAILED[] = L"UnhookWindowsHookEx() failed.";

// The send gate.
inline constexpr wchar_t SEND_SOURCE_NOT_COPIED[] =
    L"BKC_OnSend() failed. cannot allocate memory of szMailSource.";
inline constexpr wchar_t SEND_REFUSED[] =
    L"校正結果の評価が閾値を超えているためこのメールを送信するのを防止しました。";
// The reminder of a forgotten attachment, a Yes/No question with the word found between
// the two parts.
inline constexpr wchar_t ATTACHMENT_MISSING_BEFORE[] = L"本文に「";
inline constexpr wchar_t ATTACHMENT_MISSING_AFTER[] =
    L"」とありますが、ファイルが添付されていません。\nこのまま送信しますか？";
// The question about a greeted person nobody on To or Cc bears: the persons (each in
// 「」) between the first two parts, the recipients between the last two, separated as the
// list separator says and counted after the first few.
inline constexpr wchar_t ADDRESSEE_MISSING_BEFORE[] = L"本文の宛名は";
inline constexpr wchar_t ADDRESSEE_MISSING_MIDDLE[] = L"ですが、このメールの宛先は ";
inline constexpr wchar_t ADDRESSEE_MISSING_AFTER[] =
    L" です。\n宛名の方が宛先に入っていません。このまま送信しますか？";
inline constexpr wchar_t ADDRESSEE_LIST_SEPARATOR[] = L"、";
inline constexpr wchar_t ADDRESSEE_OTHERS_BEFORE[] = L" ほか ";
inline constexpr wchar_t ADDRESSEE_OTHERS_AFTER[] = L" 名";
// Shown once per kind of reason while the plug-in runs, with the reason between the two:
// the mail then goes out unchecked.
inline constexpr wchar_t SEND_UNCHECKED[] = L"このメールは校正せずに送信します。";
inline constexpr wchar_t SEND_UNCHECKED_ONCE[] = L"(このメッセージは次回の起動まで表示しません。)";
// The result window's status after the resident textlint failed six times in a row.
inline constexpr wchar_t RESIDENT_GIVEN_UP[] =
    L"常駐 textlint が 6 回続けて失敗したため、使うのをやめました。校正は毎回 textlint を起動して"
    L"行います (textlint のパスか設定を変えると、もう一度試します)。";

// The actions on one finding of the result window, told in its status line.
inline constexpr wchar_t ACTION_ROWS_REPLACED[] =
    L"一覧が新しい校正結果に替わったため、操作しませんでした。";
inline constexpr wchar_t FIX_WINDOW_GONE[] =
    L"この指摘を修正できません: 校正したメールの作成ウィンドウがありません。";
inline constexpr wchar_t FIX_TEXT_CHANGED[] =
    L"この指摘を修正できません: 校正した後に本文が変わりました。もう一度校正して下さい。";
inline constexpr wchar_t FIX_NOT_PLACED[] =
    L"この指摘を修正できません: 修正する箇所を本文の中に特定できません。";
inline constexpr wchar_t FIX_IN_EXCLUDED_LINE[] =
    L"この指摘を修正できません: 修正が引用行か署名にかかります。";
inline constexpr wchar_t FIX_CHARACTER_NOT_REPRESENTABLE[] =
    L"この指摘を修正できません: 修正案にメールの文字コードで表せない文字があります。";
inline constexpr wchar_t FINDING_HIDDEN[] =
    L"今後この指摘を表示しません (設定画面で元に戻せます)。";
// %s is the rule's name.
inline constexpr wchar_t RULE_SWITCHED_OFF[] =
    L"ルール「%s」を無効にしました (設定画面で有効に戻せます)。";
inline constexpr wchar_t RULE_NOT_IN_SETTINGS[] =
    L"ルール「%s」は設定のルール一覧にないため、無効にできませんでした。";
inline constexpr wchar_t SETTINGS_NOT_SAVED[] =
    L"設定をファイルに保存できませんでした。次回の起動時には元に戻ります。";

} // namespace quill::plugin_text
