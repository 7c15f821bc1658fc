// The Japanese texts of a failed check or auto-fix and of the result window's status line.
#include "lint/lint_failure.h"

#include <cstdio>
#include <iterator>

namespace quill {

namespace {

const wchar_t INSTALL_TEXTLINT[] =
    L"Node.js を入れてから、コマンド プロンプトで「npm install -g textlint」を実行して "
    L"textlint を入れてください。別の場所にある textlint を使うときは、設定ダイアログの "
    L"textlint のパスにその textlint.cmd を指定してください。";

const wchar_t CHECK_SETTINGS[] = L"設定ダイアログでルールの名前とオプションを確認してください。";

std::wstring withDetails(std::wstring text, const std::wstring &details) {
    if (!details.empty())
        text += L"\ntextlint のエラー出力:\n" + details;
    return text;
}

std::wstring packageList(const LintFailure &failure) {
    std::wstring names;
    for (const MissingPackage &missing : failure.missing)
        names += L" " + missing.package;
    return names;
}

std::wstring describeMissing(const LintFailure &failure) {
    std::wstring text = L"textlint の設定にあるルールまたはプラグインが入っていません:\n";
    for (const MissingPackage &missing : failure.missing)
        text += L"  " + missing.name + L" (npm パッケージ " + missing.package + L")\n";
    if (failure.installFolder.empty())
        text += L"コマンド プロンプトで「npm install -g" + packageList(failure) + L"」";
    else
        text += L"コマンド プロンプトで「cd /d \"" + failure.installFolder +
                L"\"」のあと「npm install" + packageList(failure) + L"」";
    text += L"を実行して入れるか、設定ダイアログでそのルールを外してください。";
    return withDetails(text, failure.details);
}

} // namespace

std::wstring describeLintFailure(const LintFailure &failure) {
    switch (failure.kind) {
    case LintFailureKind::None:
        return std::wstring();
    case LintFailureKind::NoRule:
        return L"textlint のルールが設定されていないため、校正するものがありません。\n"
               L"プラグインの設定ダイアログでルールを追加すると校正できるようになります。";
    case LintFailureKind::CommandNotFound:
        return L"textlint が見つかりません。設定の textlint のパス「" + failure.commandPath +
               L"」にはファイルがなく、%APPDATA%\\npm と PATH にも textlint.cmd がありません"
               L"でした。\n" +
               INSTALL_TEXTLINT;
    case LintFailureKind::MissingPackages:
        return describeMissing(failure);
    case LintFailureKind::ConfigRejected:
        return withDetails(std::wstring(L"textlint が設定を読み込めませんでした。") +
                               CHECK_SETTINGS,
                           failure.details);
    case LintFailureKind::TimedOut:
        return L"textlint が " + std::to_wstring(failure.waitSeconds) +
               L" 秒以内に終わらなかったため、校正を打ち切りました。メールが長すぎるか、"
               L"パソコンが混み合っています。しばらくしてからもう一度試してください。";
    case LintFailureKind::TextLintError:
        return withDetails(L"textlint がエラーで終了しました。ルールの設定と textlint の"
                           L"インストールを確認してください。",
                           failure.details);
    case LintFailureKind::NotConverted:
        return L"メールの本文をその文字コードから変換できなかったため、校正できませんでした。"
               L"メールの文字コードの設定を確認してください。";
    case LintFailureKind::FixMovedLines:
        return L"自動修正で行が増えたり減ったりしたため、引用行と署名を守るためにメールを"
               L"書き換えませんでした。";
    case LintFailureKind::Internal:
        return L"校正を実行できませんでした(一時ファイルか textlint の起動に失敗しました)。"
               L"\n" +
               failure.details;
    }
    return std::wstring();
}

std::wstring publishedStatusText(std::size_t findings, int hour, int minute, int second) {
    wchar_t time[16];
    std::swprintf(time, std::size(time), L"%02d:%02d:%02d", hour, minute, second);
    return L"指摘 " + std::to_wstring(findings) + L" 件(" + time + L" の校正)";
}

std::wstring heldBackStatusText(std::size_t ignored, std::size_t hidden) {
    std::wstring text;
    if (ignored > 0)
        text += L"、無視した指摘 " + std::to_wstring(ignored) + L" 件";
    if (hidden > 0)
        text += L"、表示しない指摘 " + std::to_wstring(hidden) + L" 件";
    return text;
}

std::wstring failedStatusText(const LintFailure &failure) {
    return L"最新の校正は失敗しました: " + describeLintFailure(failure);
}

std::wstring firstLinesOf(const std::wstring &output, std::size_t maxLines, std::size_t maxChars) {
    std::wstring lines;
    std::size_t taken = 0;
    std::size_t start = 0;
    while (start < output.size() && taken < maxLines) {
        std::size_t end = output.find(L'\n', start);
        if (end == std::wstring::npos)
            end = output.size();
        std::wstring line = output.substr(start, end - start);
        start = end + 1;
        while (!line.empty() && (line.back() == L'\r' || line.back() == L' '))
            line.pop_back();
        if (line.find_first_not_of(L" \t") == std::wstring::npos)
            continue;
        if (line.size() > maxChars) {
            std::size_t cut = maxChars;
            // A UTF-16 pair stays whole.
            if (cut > 0 && line[cut - 1] >= 0xD800 && line[cut - 1] <= 0xDBFF)
                --cut;
            line = line.substr(0, cut) + L"…";
        }
        if (taken++ != 0)
            lines += L'\n';
        lines += line;
    }
    return lines;
}

} // namespace quill
