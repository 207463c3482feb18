#pragma once
// The message-box port. The core never shows anything itself: every refusal,
// warning and question goes through this interface, so the shell shows it in
// a real box and tests record it and script the answers.
//
// Captions and texts are UTF-8. Document texts (Windows-1252 bytes) that are
// put into a message are converted with cp1252ToUtf8 first.

#include <string>
#include <string_view>

namespace tarvel {

enum class MsgIcon { None, Information, Exclamation, Error, Question };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No };

// The fixed captions of the program's boxes.
namespace caption {
inline constexpr std::string_view Message = "Mensaje de Tarvel";
inline constexpr std::string_view Warning = "Amonestación de Tarvel";
inline constexpr std::string_view Error = "Error de Tarvel";
inline constexpr std::string_view FileError = "Error de archivo";
inline constexpr std::string_view ChartError = "Error en el diagrama";
inline constexpr std::string_view CompileError = "Error de Compilar";
inline constexpr std::string_view SerialError = "Tarvel: Error de serie";
inline constexpr std::string_view SerialErrorShort = "Error de serie";
}  // namespace caption

class Messages {
public:
    virtual ~Messages() = default;

    // Shows a modal box and returns the button the user chose.
    virtual MsgAnswer show(std::string_view caption, std::string_view text, MsgIcon icon,
                           MsgButtons buttons) = 0;

    // Replaces the text of the status line (empty clears it).
    virtual void status(std::string_view text) = 0;

    // The common case: one OK button.
    void tell(std::string_view captionText, std::string_view text,
              MsgIcon icon = MsgIcon::Exclamation)
    {
        show(captionText, text, icon, MsgButtons::Ok);
    }
};

}  // namespace tarvel
