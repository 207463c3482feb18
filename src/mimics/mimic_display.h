#pragma once
// The mimic set in use and the states of its objects. It follows the I/O
// image as one more display beside the monitors: an output, an input or a
// motor that changes sets the states of the objects linked to it, a new
// analogue value or variable value becomes the text of its object. Whoever
// draws the set (the window, or a trace of a headless run) is told which
// object changed, in the order the window redraws them.

#include <array>

#include "engine/variables.h"
#include "interfaces/interface_layer.h"
#include "mimics/mimic_set.h"

namespace tarvel {

class MimicChannels;

enum class MimicChange {
    State,  // the object took another state
    Text,   // a variable's value became its text: redrawn as its flags say
    Value,  // an analogue value became its text: drawn at once
};

class MimicView {
public:
    virtual ~MimicView() = default;
    virtual void objectChanged(int object, MimicChange change) = 0;
    // Another set, no set, or the labels shown or hidden: everything is drawn again.
    virtual void setReplaced() {}
};

// A picture of the set as the shell read it: its size, or unusable when its
// file could not be read (such a slot is never drawn).
struct MimicPicture {
    bool usable = false;
    int width = 0;
    int height = 0;
};
using MimicPictures = std::array<MimicPicture, kMimicPictureMax>;

class MimicDisplay final : public IoObserver, public VariableObserver {
public:
    // Follows `io` from construction to destruction.
    MimicDisplay(InterfaceLayer& io, const MimicChannels& channels);
    ~MimicDisplay() override;
    MimicDisplay(const MimicDisplay&) = delete;
    MimicDisplay& operator=(const MimicDisplay&) = delete;

    void setView(MimicView* view) { view_ = view; }

    // A newly read set: every object starts in state 0.
    void replace(const MimicSet& set, const MimicPictures& pictures);
    // No set: the window stays empty.
    void clear();
    bool loaded() const { return loaded_; }
    const MimicSet& set() const { return set_; }
    int objectCount() const { return loaded_ ? set_.objectCount : 0; }
    const MimicObject& object(int i) const { return set_.object(i); }
    const MimicPicture& picture(int i) const { return pictures_[static_cast<std::size_t>(i)]; }
    // The picture a picture object shows now, or -1 when it shows nothing.
    int shownPicture(int object) const;

    // "Mostrar Etiquetas": label objects are drawn (and act as editor keys).
    bool showLabels() const { return showLabels_; }
    void setShowLabels(bool on);

    // IoObserver: OutputChanged, InputChanged, MotorChanged, ValueChanged.
    void showOutput(int index, int state) override;
    void showInput(int index, int state) override;
    void showMotor(int motor, int state) override;
    void showValue(int channel, int raw) override;
    // VariableObserver: VariableChanged.
    void showVariable(int index, std::int32_t value) override;

private:
    void setState(int object, int state);
    void setText(int object, const std::string& text, MimicChange change);

    InterfaceLayer& io_;
    const MimicChannels& channels_;
    MimicView* view_ = nullptr;
    bool loaded_ = false;
    bool showLabels_ = false;
    MimicSet set_;
    MimicPictures pictures_{};
    // What a motor's objects show, kept also for a motor linked to none.
    std::array<int, kMotorCount> motorShown_{};
};

}  // namespace tarvel
