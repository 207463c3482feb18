#include "mimics/mimic_set.h"

#include <algorithm>
#include <cstdio>

#include "platform/cp1252.h"
#include "platform/file_io.h"
#include "platform/file_lookup.h"
#include "platform/utf8_path.h"

namespace tarvel {

MimicSet::MimicSet()
{
    for (auto* table : {&inputLinks, &outputLinks})
        for (auto& row : *table) row.fill(kNoLink);
    for (auto& row : valueLinks) row.fill(kNoLink);
    variableLinks.fill(kNoLink);
}

namespace {

// Walks a definition file: values are read as text up to their delimiter,
// and after a line's last delimiter one line end is skipped. The first fault
// is kept; after it every read gives an empty text or 0.
class DefinitionReader {
public:
    explicit DefinitionReader(std::string_view bytes)
    {
        // Carriage returns are dropped, so CR LF and LF files read alike.
        text_.reserve(bytes.size());
        for (const char c : bytes)
            if (c != '\r') text_ += c;
    }

    // The text up to (not including) the delimiter, which is passed over.
    std::string_view field(char delimiter)
    {
        if (!ok()) return {};
        const std::size_t end = text_.find(delimiter, pos_);
        if (end == std::string::npos) {
            fail("el archivo termina antes de tiempo, en la l\xEDnea " +
                 std::to_string(lineAt(text_.size())));
            return {};
        }
        const std::string_view f = std::string_view(text_).substr(pos_, end - pos_);
        fieldStart_ = pos_;
        pos_ = end + 1;
        return f;
    }

    // A number: an optional '-' and digits, nothing else.
    int number(char delimiter)
    {
        const std::string_view f = field(delimiter);
        if (!ok()) return 0;
        const std::size_t digits = !f.empty() && f[0] == '-' ? 1 : 0;
        bool isNumber = f.size() > digits && f.size() - digits <= 9;
        for (std::size_t i = digits; isNumber && i < f.size(); ++i)
            isNumber = f[i] >= '0' && f[i] <= '9';
        if (!isNumber) {
            fail("en la l\xEDnea " + std::to_string(line()) + ", \"" + excerpt(f) +
                 "\" no es un n\xFAmero");
            return 0;
        }
        int value = 0;
        for (std::size_t i = digits; i < f.size(); ++i) value = value * 10 + (f[i] - '0');
        return digits ? -value : value;
    }

    std::string_view text(char delimiter)
    {
        const std::string_view t = field(delimiter);
        if (t.size() <= kMimicTextMax) return t;
        fail("en la l\xEDnea " + std::to_string(line()) + " un texto tiene m\xE1s de " +
             std::to_string(kMimicTextMax) + " caracteres");
        return {};
    }

    // One line end after a line's last delimiter; a file whose last line has
    // none is read all the same.
    void lineEnd()
    {
        if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
    }

    // The line of the field read last, counting from 1.
    int line() const { return lineAt(fieldStart_); }

    bool ok() const { return fault_.empty(); }
    const std::string& fault() const { return fault_; }
    void fail(std::string why)
    {
        if (ok()) fault_ = std::move(why);
    }

private:
    // A field as a message quotes it: the start of its first line, control
    // characters shown as '?', so a file that is no definition at all (a
    // picture chosen by mistake) gives a message one can read.
    static std::string excerpt(std::string_view f)
    {
        constexpr std::size_t kShown = 20;
        const std::string_view shown = f.substr(0, std::min(f.find('\n'), kShown));
        std::string s;
        for (const char c : shown) s += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
        if (shown.size() < f.size()) s += "...";
        return s;
    }

    int lineAt(std::size_t pos) const
    {
        int n = 1;
        for (std::size_t i = 0; i < pos && i < text_.size(); ++i) n += text_[i] == '\n';
        return n;
    }

    std::string text_;
    std::size_t pos_ = 0;
    std::size_t fieldStart_ = 0;
    std::string fault_;
};

// A row of link numbers: commas between them, a semicolon after the last.
template <std::size_t N>
std::array<int, N> linkRow(DefinitionReader& in)
{
    std::array<int, N> row{};
    for (std::size_t k = 0; k < N; ++k) row[k] = in.number(k + 1 < N ? ',' : ';');
    in.lineEnd();
    return row;
}

void checkObject(DefinitionReader& in, int link, int objectCount)
{
    if (link == kNoLink || (link >= 0 && link < objectCount)) return;
    in.fail("en la l\xEDnea " + std::to_string(in.line()) + " el objeto " + std::to_string(link) +
            " no existe (el archivo tiene " + std::to_string(objectCount) + ")");
}

void checkInput(DefinitionReader& in, int input)
{
    if (input == kNoLink || (input >= 1 && input <= kIoCount)) return;
    in.fail("en la l\xEDnea " + std::to_string(in.line()) + " la entrada " + std::to_string(input) +
            " no existe");
}

template <std::size_t N>
void checkRow(DefinitionReader& in, const std::array<int, N>& row, int objectCount)
{
    for (const int link : row) checkObject(in, link, objectCount);
}

// Files number channels from 1: under the 0-7 numbering the digit after
// "out " or "in " goes down by one. The prefixes keep their blank, so a
// text such as "inicio" is left alone.
void adjustNumbering(MimicObject& o)
{
    std::string t(o.texts[0].view());
    for (const std::string_view prefix : {std::string_view("out "), std::string_view("in ")}) {
        if (!t.starts_with(prefix) || t.size() <= prefix.size()) continue;
        char& digit = t[prefix.size()];
        if (digit >= '1' && digit <= '9') --digit;
    }
    o.texts[0] = t;
}

MimicObject readObject(DefinitionReader& in, bool numbersFromZero)
{
    MimicObject o;
    o.left = in.number(',');
    o.top = in.number(',');
    o.right = in.number(',');
    o.bottom = in.number(',');
    o.flags = in.number(',');
    for (int s = 0; s < kMimicStates; ++s)
        o.texts[static_cast<std::size_t>(s)] = in.text(s + 1 < kMimicStates ? ',' : ';');
    in.lineEnd();
    if (o.has(mimicflag::Text)) {
        if (numbersFromZero) adjustNumbering(o);
        // Input names are widened so that "ent 1" fits where "in 1" was drawn.
        if (o.texts[0].view().starts_with("in ")) {
            o.left -= 4;
            o.right += 4;
        }
    }
    return o;
}

MimicSet readSet(DefinitionReader& in, bool numbersFromZero)
{
    MimicSet set;
    const int objects = in.number(';');
    const int pictures = in.number(';');
    in.lineEnd();
    if (objects < 0 || objects > kMimicObjectMax)
        in.fail("tiene " + std::to_string(objects) + " objetos y caben de 0 a " +
                std::to_string(kMimicObjectMax));
    if (pictures < 0 || pictures > kMimicPictureMax)
        in.fail("nombra " + std::to_string(pictures) + " im\xE1genes y caben de 0 a " +
                std::to_string(kMimicPictureMax));
    if (!in.ok()) return set;

    set.pictureCount = pictures;
    for (int p = 0; p < pictures; ++p)
        set.pictures[static_cast<std::size_t>(p)] = std::string(in.field(';'));
    in.lineEnd();

    set.objectCount = objects;
    for (int i = 0; i < objects; ++i) set.object(i) = readObject(in, numbersFromZero);

    for (auto* table : {&set.inputLinks, &set.outputLinks})
        for (auto& row : *table) {
            row = linkRow<kIoLinks>(in);
            checkRow(in, row, objects);
        }
    for (auto& row : set.valueLinks) {
        row = linkRow<kValueLinks>(in);
        checkRow(in, row, objects);
    }
    for (MotorLink& m : set.motorLinks) {
        const auto row = linkRow<4>(in);
        checkObject(in, row[0], objects);
        checkObject(in, row[1], objects);
        checkInput(in, row[2]);
        checkInput(in, row[3]);
        m.objects = {row[0], row[1]};
        m.releasedForward = row[2];
        m.releasedReverse = row[3];
    }
    for (int& v : set.variableLinks) {
        v = linkRow<1>(in)[0];
        checkObject(in, v, objects);
    }
    return set;
}

}  // namespace

Result<MimicSet> parseMimicSet(std::string_view bytes, bool numbersFromZero, std::string_view name)
{
    DefinitionReader in(bytes);
    MimicSet set = readSet(in, numbersFromZero);
    if (in.ok()) return set;
    const std::string who =
        name.empty() ? std::string("La m\xEDmica") : "La m\xEDmica " + std::string(name);
    return Refusal{std::string(kMimicFileCaption),
                   cp1252ToUtf8(who + " no se puede cargar: " + in.fault() + ".")};
}

std::string serializeMimicSet(const MimicSet& set)
{
    const std::string eol = "\r\n";
    std::string out =
        std::to_string(set.objectCount) + ";" + std::to_string(set.pictureCount) + ";" + eol;
    for (int p = 0; p < set.pictureCount; ++p)
        out += set.pictures[static_cast<std::size_t>(p)] + ";";
    out += eol;
    for (int i = 0; i < set.objectCount; ++i) {
        const MimicObject& o = set.object(i);
        for (const int v : {o.left, o.top, o.right, o.bottom, o.flags})
            out += std::to_string(v) + ",";
        for (int s = 0; s < kMimicStates; ++s)
            out += std::string(o.texts[static_cast<std::size_t>(s)].view()) +
                   (s + 1 < kMimicStates ? "," : ";");
        out += eol;
    }
    auto row = [&](std::initializer_list<int> values) {
        std::size_t k = 0;
        for (const int v : values) out += std::to_string(v) + (++k < values.size() ? "," : ";");
        out += eol;
    };
    for (const auto* table : {&set.inputLinks, &set.outputLinks})
        for (const auto& r : *table) row({r[0], r[1], r[2]});
    for (const auto& r : set.valueLinks) row({r[0], r[1]});
    for (const MotorLink& m : set.motorLinks)
        row({m.objects[0], m.objects[1], m.releasedForward, m.releasedReverse});
    for (const int v : set.variableLinks) row({v});
    return out;
}

std::optional<std::string> mimicSetPath(const std::string& dir, std::string_view name)
{
    if (name.empty()) return std::nullopt;
    const auto path = findIgnoringCase(pathFromUtf8(dir), name);
    std::error_code ec;
    if (!path || std::filesystem::is_directory(*path, ec)) return std::nullopt;
    return utf8FromPath(*path);
}

Result<MimicSet> loadMimicSet(const std::string& path, bool numbersFromZero, Messages& messages)
{
    const std::string name = utf8ToCp1252(utf8FromPath(pathFromUtf8(path).filename()));
    std::string bytes;
    Result<MimicSet> read =
        readWholeFile(path, bytes)
            ? parseMimicSet(bytes, numbersFromZero, name)
            : Result<MimicSet>(
                  Refusal{std::string(kMimicFileCaption),
                          cp1252ToUtf8("No se puede abrir el archivo de m\xEDmica " + name)});
    if (!read) read.refusal().show(messages);
    return read;
}

int mimicPictureIndex(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    const bool negative = i < text.size() && text[i] == '-';
    if (negative) ++i;
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return kNoLink;
    int value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && value < 100000; ++i)
        value = value * 10 + (text[i] - '0');
    return negative ? -value : value;
}

}  // namespace tarvel
