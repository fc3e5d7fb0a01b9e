#include "ternavo/rules/switches.h"
#include <iterator>

namespace {

// Letter case does not count; only ASCII letters occur in the switches.
std::wstring Lower(std::wstring word) {
    for (wchar_t& c : word)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return word;
}

// The generation box a switch names, nullptr when it names none.
bool* GenerationOf(const std::wstring& word, apply::Choices& c) {
    return word == L"-lite"   ? &c.lite
           : word == L"-pro"  ? &c.pro
           : word == L"-icq6" ? &c.icq6
           : word == L"-icq7" ? &c.icq7
                              : nullptr;
}

// One argument quoted so that SplitArguments gives it back unchanged.
std::wstring Quoted(const std::wstring& arg) {
    std::wstring out = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote escaped.
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');  // they stand before the closing quote
    out += L'"';
    return out;
}

}  // namespace

namespace startup {

Switches ReadSwitches(const std::wstring& arguments) {
    Switches s;
    size_t pos = 0;
    while (pos < arguments.size()) {
        size_t begin = arguments.find_first_not_of(L" \t", pos);
        if (begin == std::wstring::npos) break;
        size_t end = arguments.find_first_of(L" \t", begin);
        if (end == std::wstring::npos) end = arguments.size();
        std::wstring word = Lower(arguments.substr(begin, end - begin));
        pos = end;

        if (bool* generation = GenerationOf(word, s.choices)) {
            *generation = true;
            s.generationsGiven = true;
        } else if (word == L"-allow" || word == L"-onlyone") {
            s.choices.instances = word == L"-allow" ? apply::Instances::Allow : apply::Instances::OnlyOne;
            s.instancesGiven = true;
        } else if (word == L"-start") {
            s.start = true;
        }
    }
    return s;
}

apply::Choices WorkerShare(const apply::Choices& c, bool canAskForRights, bool icq7FolderWritable) {
    apply::Choices share = c;
    share.lite = canAskForRights && c.lite;
    share.pro = canAskForRights && c.pro;
    share.icq6 = canAskForRights && c.icq6;
    share.icq7 = canAskForRights && c.icq7 && !icq7FolderWritable;
    return share;
}

apply::Choices OwnShare(const apply::Choices& c, const apply::Choices& workerShare) {
    apply::Choices own = c;
    own.lite = c.lite && !workerShare.lite;
    own.pro = c.pro && !workerShare.pro;
    own.icq6 = c.icq6 && !workerShare.icq6;
    own.icq7 = c.icq7 && !workerShare.icq7;
    return own;
}

std::wstring WorkerArgumentText(const apply::Choices& c, const std::wstring& icq7Folder, unsigned long reportTo) {
    std::wstring text = L"-worker";
    if (c.lite) text += L" -lite";
    if (c.pro) text += L" -pro";
    if (c.icq6) text += L" -icq6";
    if (c.icq7) text += L" -icq7";
    text += c.instances == apply::Instances::OnlyOne ? L" -onlyone" : L" -allow";
    if (c.icq7) {
        std::wstring folder = icq7Folder;
        while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
        text += L" -folder " + Quoted(folder);
    }
    if (reportTo != 0) text += L" -report " + std::to_wstring(reportTo);
    return text;
}

std::vector<std::wstring> SplitArguments(const std::wstring& text) {
    std::vector<std::wstring> args;
    size_t i = 0;
    const size_t n = text.size();
    while (true) {
        while (i < n && (text[i] == L' ' || text[i] == L'\t')) ++i;
        if (i >= n) break;
        std::wstring arg;
        bool quoted = false;
        while (i < n && (quoted || (text[i] != L' ' && text[i] != L'\t'))) {
            if (text[i] == L'\\') {
                size_t count = 0;
                while (i < n && text[i] == L'\\') ++count, ++i;
                if (i < n && text[i] == L'"') {
                    arg.append(count / 2, L'\\');
                    if (count % 2 == 1) {
                        arg += L'"';
                        ++i;
                    }
                } else {
                    arg.append(count, L'\\');
                }
            } else if (text[i] == L'"') {
                quoted = !quoted;
                ++i;
            } else {
                arg += text[i++];
            }
        }
        args.push_back(arg);
    }
    return args;
}

bool IsWorkerCall(const std::wstring& arguments) {
    std::vector<std::wstring> args = SplitArguments(arguments);
    return !args.empty() && Lower(args[0]) == L"-worker";
}

bool IsAbsoluteFolder(const std::wstring& f) {
    auto letter = [](wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); };
    if (f.size() >= 3 && letter(f[0]) && f[1] == L':' && f[2] == L'\\') return true;
    return f.size() > 2 && f[0] == L'\\' && f[1] == L'\\';
}

WorkerOrder ReadWorkerArguments(const std::wstring& arguments) {
    WorkerOrder order;
    std::vector<std::wstring> args = SplitArguments(arguments);
    if (args.empty() || Lower(args[0]) != L"-worker") return order;
    int instancesGiven = 0;
    bool folderGiven = false;
    for (size_t i = 1; i < args.size(); ++i) {
        std::wstring word = Lower(args[i]);
        if (bool* generation = GenerationOf(word, order.steps)) {
            *generation = true;
        } else if (word == L"-allow" || word == L"-onlyone") {
            order.steps.instances = word == L"-allow" ? apply::Instances::Allow : apply::Instances::OnlyOne;
            ++instancesGiven;
        } else if (word == L"-report" && order.reportTo == 0 && i + 1 < args.size()) {
            const std::wstring& number = args[++i];
            unsigned long long value = 0;
            for (wchar_t ch : number) {
                if (ch < L'0' || ch > L'9' || number.size() > 10) return WorkerOrder{};
                value = value * 10 + static_cast<unsigned>(ch - L'0');
            }
            if (value == 0 || value > 0xFFFFFFFFull) return WorkerOrder{};
            order.reportTo = static_cast<unsigned long>(value);
        } else if (word == L"-folder" && !folderGiven && i + 1 < args.size()) {
            order.icq7Folder = args[++i];
            folderGiven = true;
        } else {
            return WorkerOrder{};
        }
    }
    order.valid = apply::AnyGeneration(order.steps) && instancesGiven == 1 && folderGiven == order.steps.icq7 &&
                  (!folderGiven || IsAbsoluteFolder(order.icq7Folder));
    if (!order.valid) return WorkerOrder{};
    return order;
}

namespace {

// The refusals by exit code, from 2 on.
constexpr apply::Refusal kRefusals[] = {apply::Refusal::Arguments, apply::Refusal::FolderUnavailable,
                                        apply::Refusal::NotICQ7, apply::Refusal::Link,
                                        apply::Refusal::OthersMayChange};

}  // namespace

int WorkerExitCode(apply::Outcome outcome, apply::Refusal why) {
    switch (outcome) {
        case apply::Outcome::Succeeded: return 0;
        case apply::Outcome::Failed: return 1;
        case apply::Outcome::Refused:
            for (size_t i = 0; i < std::size(kRefusals); ++i)
                if (kRefusals[i] == why) return static_cast<int>(2 + i);
            return 2;
    }
    return 1;
}

apply::Refusal RefusalOfExitCode(unsigned long code) {
    return code >= 2 && code - 2 < std::size(kRefusals) ? kRefusals[code - 2] : apply::Refusal::None;
}

apply::Outcome OutcomeOfExitCode(unsigned long code) {
    if (code == 0) return apply::Outcome::Succeeded;
    if (RefusalOfExitCode(code) != apply::Refusal::None) return apply::Outcome::Refused;
    return apply::Outcome::Failed;
}

}  // namespace startup
