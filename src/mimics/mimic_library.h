#pragma once
// Which mimic set is in use: the mimics directory, the set's name and its
// place in the options list, and loading a set with its pictures. A set that
// is refused leaves the one on screen (and its name) as it was; a set whose
// file is missing leaves the window empty without a word.

#include <optional>
#include <string>
#include <vector>

#include "interfaces/interface_settings.h"
#include "mimics/mimic_display.h"

namespace tarvel {

class Messages;

// The pictures of a set are read by the shell, which keeps them; the core
// knows only their sizes.
class MimicPictureStore {
public:
    virtual ~MimicPictureStore() = default;
    // Forgets the pictures of the set before.
    virtual void clear() = 0;
    // Reads the picture of a slot from a file; nothing when it cannot be read.
    virtual std::optional<MimicPicture> load(int slot, const std::string& path) = 0;
};

inline constexpr std::string_view kPictureUnreadable =
    "No se puede abrir el archivo de mapa de bits";
// The caption of that message: the application's name.
inline constexpr std::string_view kPictureCaption = "Tarvel2";
// The set name is kept to this many characters.
inline constexpr std::size_t kMimicSetNameMax = 20;

// Reads every picture a set names from the mimics directory (names matched
// ignoring case); each one that cannot be read is reported and left unusable.
MimicPictures loadMimicPictures(const std::string& dir, const MimicSet& set,
                                MimicPictureStore& store, Messages& messages);

// The selected index when no set is loaded, and when it is to be found by name.
inline constexpr int kNoSetLoaded = -1;
inline constexpr int kSetToFind = -2;

class MimicLibrary {
public:
    // The numbering of `settings` decides the adjustment of "in "/"out " texts.
    MimicLibrary(MimicDisplay& display, const InterfaceSettings& settings, Messages& messages);

    void setPictureStore(MimicPictureStore* store) { store_ = store; }

    const std::string& directory() const { return directory_; }
    // A new directory: the set is found again by its name at the next choice.
    void setDirectory(std::string dir);
    const std::string& setName() const { return name_; }
    int selectedIndex() const { return index_; }

    // The sets of the directory: its files without an extension, in name order.
    std::vector<std::string> listSets() const;
    // Where the set in use stands in that list (looked up by name, ignoring
    // case, when it is not yet known); -1 when nowhere.
    int indexIn(const std::vector<std::string>& list) const;

    // LoadMimic: reads the set of that name from the directory. A missing file
    // leaves no set (index -1); a refused one shows why and keeps the set,
    // name and index in use. True when a set was loaded.
    bool loadMimic(const std::string& name, int index = kSetToFind);
    // "Aceptar" of the options dialog: the set chosen from the list and the
    // label choice; the set is read again when the choice moved (or the
    // directory changed since it was read).
    void choose(int index, const std::string& name, bool showLabels);

private:
    MimicDisplay& display_;
    const InterfaceSettings& settings_;
    Messages& messages_;
    MimicPictureStore* store_ = nullptr;
    std::string directory_ = ".";
    std::string name_;
    int index_ = kSetToFind;
};

}  // namespace tarvel
