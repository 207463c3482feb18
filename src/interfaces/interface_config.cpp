#include "interfaces/interface_config.h"

#include "platform/file_io.h"
#include "platform/file_lookup.h"
#include "platform/messages.h"

namespace tarvel {

namespace {
constexpr char kBase = 'A';
}

std::string encodeConfig(const InterfaceSettings& s)
{
    std::string out;
    for (const int v : {s.highLow, s.numbering, s.analogueSource, s.mode, s.model, s.port,
                        s.motorOption, s.subModel})
        out.push_back(static_cast<char>(kBase + v));
    return out;
}

std::optional<InterfaceSettings> decodeConfig(std::string_view text)
{
    if (text.size() < 8) return std::nullopt;
    auto value = [&](std::size_t i) { return static_cast<unsigned char>(text[i]) - kBase; };
    InterfaceSettings s;
    s.highLow = value(0);
    s.numbering = value(1);
    s.analogueSource = value(2);
    s.mode = value(3);
    s.model = value(4);
    s.port = value(5);
    s.motorOption = value(6);
    s.subModel = value(7);
    return s;
}

bool writeConfigFile(const std::string& path, const InterfaceSettings& settings, Messages* messages)
{
    // The file already there is rewritten, whatever the case of its name,
    // rather than a second one made beside it.
    if (writeFileReplacing(existingSpelling(path), encodeConfig(settings)) == WriteResult::Ok)
        return true;
    if (messages)
        messages->tell(caption::Error, "No se puede guardar Configuración", MsgIcon::Exclamation);
    return false;
}

std::optional<InterfaceSettings> readConfigFile(const std::string& path)
{
    std::string bytes;
    if (!readWholeFile(existingSpelling(path), bytes)) return std::nullopt;
    return decodeConfig(bytes);
}

InterfaceSettings fallbackSettings()
{
    InterfaceSettings s;
    s.port = 0;
    s.highLow = 2;
    s.numbering = 2;
    s.analogueSource = 0;
    s.mode = 0;
    s.model = 0;
    s.subModel = 0;
    return s;
}

}  // namespace tarvel
