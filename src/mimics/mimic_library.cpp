#include "mimics/mimic_library.h"

#include <algorithm>
#include <filesystem>

#include "platform/cp1252.h"
#include "platform/file_lookup.h"
#include "platform/messages.h"
#include "platform/utf8_path.h"

namespace tarvel {

namespace {

// ASCII case folding, as the names are matched.
std::string folded(std::string_view s)
{
    std::string f(s);
    for (char& c : f)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return f;
}

// A name cut to the characters the set name keeps.
std::string keptName(const std::string& utf8)
{
    const std::string bytes = utf8ToCp1252(utf8);
    return bytes.size() <= kMimicSetNameMax ? utf8
                                            : cp1252ToUtf8(bytes.substr(0, kMimicSetNameMax));
}

}  // namespace

MimicPictures loadMimicPictures(const std::string& dir, const MimicSet& set,
                                MimicPictureStore& store, Messages& messages)
{
    MimicPictures pictures{};
    store.clear();
    for (int p = 0; p < set.pictureCount; ++p) {
        const std::string name = cp1252ToUtf8(set.pictures[static_cast<std::size_t>(p)]);
        std::optional<MimicPicture> picture;
        if (const auto path = findIgnoringCase(pathFromUtf8(dir), name))
            picture = store.load(p, utf8FromPath(*path));
        if (picture && picture->width > 0 && picture->height > 0) {
            picture->usable = true;
            pictures[static_cast<std::size_t>(p)] = *picture;
        } else {
            messages.tell(kPictureCaption, kPictureUnreadable, MsgIcon::Exclamation);
        }
    }
    return pictures;
}

MimicLibrary::MimicLibrary(MimicDisplay& display, const InterfaceSettings& settings,
                           Messages& messages)
    : display_(display), settings_(settings), messages_(messages)
{
}

void MimicLibrary::setDirectory(std::string dir)
{
    directory_ = std::move(dir);
    index_ = kSetToFind;
}

std::vector<std::string> MimicLibrary::listSets() const
{
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(pathFromUtf8(directory_), ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = utf8FromPath(it->path().filename());
        std::error_code typeError;
        if (name.find('.') != std::string::npos || it->is_directory(typeError)) continue;
        names.push_back(name);
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string fa = folded(a), fb = folded(b);
        return fa != fb ? fa < fb : a < b;
    });
    return names;
}

int MimicLibrary::indexIn(const std::vector<std::string>& list) const
{
    if (index_ != kSetToFind) return index_ < static_cast<int>(list.size()) ? index_ : kNoSetLoaded;
    for (std::size_t i = 0; i < list.size(); ++i)
        if (equalsIgnoreCase(list[i], name_)) return static_cast<int>(i);
    return kNoSetLoaded;
}

bool MimicLibrary::loadMimic(const std::string& name, int index)
{
    const std::string kept = keptName(name);
    const auto path = mimicSetPath(directory_, kept);
    if (!path) {
        name_ = kept;
        index_ = kNoSetLoaded;
        display_.clear();
        return false;
    }
    const Result<MimicSet> read = loadMimicSet(*path, settings_.numbersFromZero(), messages_);
    if (!read) return false;
    name_ = kept;
    index_ = index;
    const MimicSet& set = read.value();
    MimicPictures pictures{};
    if (store_) pictures = loadMimicPictures(directory_, set, *store_, messages_);
    display_.replace(set, pictures);
    return true;
}

void MimicLibrary::choose(int index, const std::string& name, bool showLabels)
{
    display_.setShowLabels(showLabels);
    if (index != index_) loadMimic(name, index);
}

}  // namespace tarvel
