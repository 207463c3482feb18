// tarvel mimic show [--numbering N] DIR NAME, and the mimic of tarvel run.

#include <array>
#include <iostream>
#include <nlohmann/json.hpp>

#include "engine/interpreter.h"
#include "mimic_trace.h"
#include "mimics/mimic_channels.h"
#include "mimics/mimic_display.h"
#include "mimics/mimic_library.h"
#include "mimics/ui/mimic_pictures.h"
#include "platform/clock.h"
#include "platform/cp1252.h"
#include "tool_common.h"

namespace tarvel::tool {

namespace {

// Reads a set as the window does; nothing (and the reason on stderr) when
// it cannot be read.
std::optional<MimicSet> readSet(const std::string& dir, const std::string& name, bool fromZero)
{
    ScriptedMessages messages = stderrMessages();
    const auto path = mimicSetPath(dir, name);
    if (!path) {
        messages.tell(kMimicFileCaption, "No se puede abrir el archivo de mímica " + name);
        return std::nullopt;
    }
    Result<MimicSet> read = loadMimicSet(*path, fromZero, messages);
    if (!read) return std::nullopt;
    return std::move(read).value();
}

// The keys in the order the set is described: objects, pictures, then the
// link tables in file order.
nlohmann::ordered_json setJson(const MimicSet& set, const MimicPictures& pictures)
{
    using json = nlohmann::ordered_json;
    json objects = json::array();
    for (int i = 0; i < set.objectCount; ++i) {
        const MimicObject& o = set.object(i);
        json texts = json::array();
        for (const auto& t : o.texts) texts.push_back(cp1252ToUtf8(t.view()));
        objects.push_back(
            {{"rect", {o.left, o.top, o.right, o.bottom}}, {"flags", o.flags}, {"texts", texts}});
    }
    json files = json::array();
    for (int p = 0; p < set.pictureCount; ++p) {
        const MimicPicture& picture = pictures[static_cast<std::size_t>(p)];
        files.push_back({{"file", cp1252ToUtf8(set.pictures[static_cast<std::size_t>(p)])},
                         {"width", picture.usable ? picture.width : 0},
                         {"height", picture.usable ? picture.height : 0}});
    }
    json motors = json::array();
    for (const MotorLink& m : set.motorLinks)
        motors.push_back({m.objects[0], m.objects[1], m.releasedForward, m.releasedReverse});
    return {{"objects", objects},
            {"pictures", files},
            {"inputLinks", set.inputLinks},
            {"outputLinks", set.outputLinks},
            {"valueLinks", set.valueLinks},
            {"motorLinks", motors},
            {"variableLinks", set.variableLinks}};
}

int show(std::vector<std::string> args)
{
    std::optional<int> numbering;
    if (!takeNumbering(args, numbering) || args.size() != 2) return usage();
    const std::string& dir = args[0];
    const auto set = readSet(dir, args[1], numberingFromZero(numbering.value_or(1)));
    if (!set) return 1;
    ScriptedMessages messages = stderrMessages();
    QtMimicPictures store;
    const MimicPictures pictures = loadMimicPictures(dir, *set, store, messages);
    std::cout << setJson(*set, pictures).dump(2) << '\n';
    return 0;
}

// Prints the state changes of a run's mimic as the window redraws them.
class Trace final : public MimicTrace, public MimicView {
public:
    Trace(InterfaceLayer& io, Interpreter& run, const Clock& clock, const SensorChannels& sensors)
        : run_(run), clock_(clock), channels_(sensors), display_(io, channels_)
    {
        display_.setView(this);
        run_.addVariableObserver(&display_);
    }
    ~Trace() override { run_.removeVariableObserver(&display_); }

    MimicDisplay& display() { return display_; }

    void setReplaced() override
    {
        drawn_.fill(mimicstate::Off);
        pending_.fill(false);
    }

    void objectChanged(int object, MimicChange change) override
    {
        if (change != MimicChange::State) return;
        if (display_.object(object).has(mimicflag::AtOnce))
            draw(object);
        else
            pending_[static_cast<std::size_t>(object)] = true;
    }

    void repaint() override
    {
        for (int i = 0; i < display_.objectCount(); ++i) {
            if (!pending_[static_cast<std::size_t>(i)]) continue;
            pending_[static_cast<std::size_t>(i)] = false;
            // Changed and changed back before the repaint: drawn as it was.
            if (display_.object(i).state != drawn_[static_cast<std::size_t>(i)]) draw(i);
        }
    }

private:
    void draw(int object)
    {
        const int state = display_.object(object).state;
        drawn_[static_cast<std::size_t>(object)] = state;
        std::cout << clock_.nowCentiseconds() << " mimic " << object << ' ' << state << '\n';
    }

    Interpreter& run_;
    const Clock& clock_;
    SensorMimicChannels channels_;
    MimicDisplay display_;
    std::array<int, kMimicObjectMax> drawn_{};
    std::array<bool, kMimicObjectMax> pending_{};
};

}  // namespace

int mimicCommand(std::vector<std::string> args)
{
    if (args.empty()) return usage();
    const std::string sub = args[0];
    args.erase(args.begin());
    if (sub == "show") return show(args);
    return usage();
}

std::unique_ptr<MimicTrace> MimicTrace::attach(const std::string& dirAndName, InterfaceLayer& io,
                                               Interpreter& run, const Clock& clock,
                                               const SensorChannels& sensors)
{
    const std::size_t slash = dirAndName.find_last_of('/');
    const std::string dir = slash == std::string::npos ? "." : dirAndName.substr(0, slash);
    const std::string name = slash == std::string::npos ? dirAndName : dirAndName.substr(slash + 1);
    // The states follow the image whatever the pictures hold: those are not read.
    const auto set = readSet(dir.empty() ? "/" : dir, name, io.settings.numbersFromZero());
    if (!set) return nullptr;
    auto trace = std::make_unique<Trace>(io, run, clock, sensors);
    trace->display().replace(*set, MimicPictures{});
    return trace;
}

}  // namespace tarvel::tool
