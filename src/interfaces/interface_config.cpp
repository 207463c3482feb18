#include "interfaces/interface_config.h"

#include "platform/file_io.h"
#include "platform/file_lookup.h"
#include "platform/messages.h"

namespace tarvel {

namespace {

constexpr char kBase = 'A';
constexpr std::size_t kRecordSize = 8;

Refusal cannotLoad()
{
    return {std::string(caption::Error), "No se puede cargar Configuración"};
}

}  // namespace

std::string serializeInterfaceConfig(const InterfaceSettings& s)
{
    std::string out;
    for (const int v : {s.highLow, s.numbering, s.analogueSource, s.mode, s.model, s.port,
                        s.motorOption, s.subModel})
        out.push_back(static_cast<char>(kBase + v));
    return out;
}

Result<InterfaceSettings> parseInterfaceConfig(std::string_view bytes)
{
    if (bytes.size() < kRecordSize) return cannotLoad();
    auto value = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]) - kBase; };
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

Result<InterfaceSettings> loadInterfaceConfig(const std::string& path, Messages& messages)
{
    std::string bytes;
    Result<InterfaceSettings> read = readWholeFile(existingSpelling(path), bytes)
                                         ? parseInterfaceConfig(bytes)
                                         : Result<InterfaceSettings>(cannotLoad());
    if (!read) read.refusal().show(messages);
    return read;
}

Status saveInterfaceConfig(const std::string& path, const InterfaceSettings& settings,
                           Messages& messages)
{
    // The file already there is rewritten, whatever the case of its name,
    // rather than a second one made beside it.
    if (writeFileReplacing(existingSpelling(path), serializeInterfaceConfig(settings)) ==
        WriteResult::Ok)
        return done();
    const Refusal refusal{std::string(caption::Error), "No se puede guardar Configuración"};
    refusal.show(messages);
    return refusal;
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
