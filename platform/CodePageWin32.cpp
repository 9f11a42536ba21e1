#include <windows.h>

#include <array>
#include <optional>
#include <string>

#include "platform/CodePage.h"
#include "platform/Utf16.h"

namespace pelagor::platform {
namespace {

struct EncodingName {
    std::string_view name;  // lower case
    UINT codePage;
};

// The spellings of --encoding that the Linux build's iconv accepts for the code pages Windows
// has, so that a command line means the same on both.
constexpr std::array kEncodingNames{
    EncodingName{"cp950", 950},         EncodingName{"big5", 950},
    EncodingName{"big-5", 950},         EncodingName{"cn-big5", 950},
    EncodingName{"utf-8", CP_UTF8},     EncodingName{"utf8", CP_UTF8},
    EncodingName{"cp936", 936},         EncodingName{"gbk", 936},
    EncodingName{"ms936", 936},         EncodingName{"windows-936", 936},
    EncodingName{"cp932", 932},         EncodingName{"ms932", 932},
    EncodingName{"windows-31j", 932},   EncodingName{"cp949", 949},
    EncodingName{"uhc", 949},           EncodingName{"cp874", 874},
    EncodingName{"cp1250", 1250},       EncodingName{"windows-1250", 1250},
    EncodingName{"cp1251", 1251},       EncodingName{"windows-1251", 1251},
    EncodingName{"cp1252", 1252},       EncodingName{"windows-1252", 1252},
    EncodingName{"ms-ansi", 1252},      EncodingName{"cp1253", 1253},
    EncodingName{"windows-1253", 1253}, EncodingName{"cp1254", 1254},
    EncodingName{"windows-1254", 1254}, EncodingName{"cp1255", 1255},
    EncodingName{"windows-1255", 1255}, EncodingName{"cp1256", 1256},
    EncodingName{"windows-1256", 1256}, EncodingName{"cp1257", 1257},
    EncodingName{"windows-1257", 1257}, EncodingName{"cp1258", 1258},
    EncodingName{"windows-1258", 1258}, EncodingName{"iso-8859-1", 28591},
    EncodingName{"iso8859-1", 28591},   EncodingName{"latin1", 28591},
    EncodingName{"us-ascii", 20127},    EncodingName{"ascii", 20127},
};

constexpr wchar_t kReplacement = 0xFFFD;

bool EqualsLowerCase(std::string_view text, std::string_view lower) {
    if (text.size() != lower.size()) {
        return false;
    }
    for (std::size_t index = 0; index < text.size(); ++index) {
        char c = text[index];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (c != lower[index]) {
            return false;
        }
    }
    return true;
}

std::optional<UINT> CodePageOf(std::string_view encoding) {
    for (const EncodingName& entry : kEncodingNames) {
        if (EqualsLowerCase(encoding, entry.name)) {
            return entry.codePage;
        }
    }
    return std::nullopt;
}

// The longest byte sequence that one character of the code page takes.
int MaxCharacterLength(UINT codePage) {
    if (codePage == CP_UTF8) {
        return 4;
    }
    CPINFO info{};
    if (::GetCPInfo(codePage, &info) == 0) {
        return 1;
    }
    return static_cast<int>(info.MaxCharSize);
}

bool IsPrivateUse(std::wstring_view decoded) {
    return decoded.size() == 1 && decoded[0] >= 0xE000 && decoded[0] <= 0xF8FF;
}

// Whether `decoded`, which Windows made of `sequence`, is a character of the code page as the
// Linux build reads it. Windows fills positions that the code page leaves unassigned: single
// bytes become the C1 control of the same number, and the user-defined areas of the Chinese and
// Korean code pages become private-use characters, whose meaning depends on a font installed on
// one machine. Both are undecodable, as for iconv.
bool IsCharacterOfCodePage(UINT codePage, std::string_view sequence, std::wstring_view decoded) {
    const auto first = static_cast<unsigned char>(sequence.front());
    if (sequence.size() == 1) {
        switch (codePage) {
            case 20127:
                return first < 0x80;
            case 874:
            case 932:
            case 949:
            case 1250:
            case 1251:
            case 1252:
            case 1253:
            case 1254:
            case 1255:
            case 1256:
            case 1257:
            case 1258:
                return !(decoded.size() == 1 && decoded[0] >= 0x80 && decoded[0] <= 0x9F);
            default:
                return true;
        }
    }
    switch (codePage) {
        case 950:  // the ETEN extensions in C6 to C8 are private-use characters of Big5 itself
            return !(IsPrivateUse(decoded) && ((first >= 0x81 && first <= 0xA0) || first >= 0xFA));
        case 936:
        case 949:
            return !IsPrivateUse(decoded);
        default:
            return true;
    }
}

// Decodes the one character that starts `bytes`: its UTF-16 form and its length in bytes, or
// nothing when no prefix of `bytes` is a character of the code page.
std::optional<std::pair<std::wstring, std::size_t>> DecodeOne(std::string_view bytes, UINT codePage,
                                                              int maxLength) {
    std::array<wchar_t, 4> wide{};
    const int limit = std::min(maxLength, static_cast<int>(bytes.size()));
    for (int length = 1; length <= limit; ++length) {
        const int produced =
            ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), length, wide.data(),
                                  static_cast<int>(wide.size()));
        if (produced <= 0) {
            continue;
        }
        const std::wstring_view decoded(wide.data(), static_cast<std::size_t>(produced));
        if (!IsCharacterOfCodePage(codePage, bytes.substr(0, static_cast<std::size_t>(length)),
                                   decoded)) {
            return std::nullopt;
        }
        return std::pair{std::wstring(decoded), static_cast<std::size_t>(length)};
    }
    return std::nullopt;
}

}  // namespace

bool IsEncodingSupported(std::string_view encoding) {
    const std::optional<UINT> codePage = CodePageOf(encoding);
    return codePage && ::IsValidCodePage(*codePage) != 0;
}

std::string DecodeToUtf8(std::string_view bytes, std::string_view encoding) {
    if (!IsEncodingSupported(encoding)) {
        return {};
    }
    const UINT codePage = *CodePageOf(encoding);
    const int maxLength = MaxCharacterLength(codePage);
    std::wstring wide;
    wide.reserve(bytes.size());
    // One character at a time, so that an undecodable byte is replaced on its own and decoding
    // goes on at the next byte, exactly as the Linux build does.
    while (!bytes.empty()) {
        if (const auto decoded = DecodeOne(bytes, codePage, maxLength)) {
            wide += decoded->first;
            bytes.remove_prefix(decoded->second);
        } else {
            wide += kReplacement;
            bytes.remove_prefix(1);
        }
    }
    return Utf16ToUtf8(wide);
}

}  // namespace pelagor::platform
