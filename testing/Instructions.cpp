#include "testing/Instructions.h"

namespace zv {
namespace {

#define BR "\r\n"
#define INDENT36 "                                    "
#define INDENT12 "            "

constexpr const char* kEnglish[4] = {
    "This questionnaire measures truthfulness.  Do not give false "
    "information.  Your records may be reviewed to verify the "
    "information you provide." BR BR
    "The statements are numbered and each must be answered.  Read "
    "each statement carefully and choose the answer that is accurate for "
    "you.  This questionnaire will be presented in three sections." BR BR
    "A series of questions will be presented and for each question you "
    "should choose the answer that is accurate for you. Once your answer is selected, "
    "depress the Down Arrow key to highlight the answer you selected, "
    "and then press the Enter key. An answer is highlighted when it has "
    "light blue around it." BR BR
    "You may use the Up and Down Arrow keys to change answers, but be sure "
    "the answer you selected is highlighted before you press the Enter key.  "
    "You may also use the Tab key to have the question repeated." BR BR
    "In this test, drinking refers to beer, wine, and other liquor. Drugs "
    "refers to illegal drugs such as marijuana, cocaine, crack, amphetamines, "
    "barbiturates or heroin." BR BR
    "If you have any questions, ask the testing supervisor for help.  When "
    "you understand these instructions, you may begin.  "
    "Press the Enter key to begin.",

    "The statements in this section must be answered TRUE or FALSE.  " BR BR
    "If a statement is TRUE highlight \"True\" then press Enter.  " BR BR
    "If a statement is FALSE highlight \"False\" then press Enter." BR BR
    "Press Enter to begin.",

    "The next series of statements contain items that you should rate to "
    "describe yourself.  Rate each statement by selecting the answer that "
    "is accurate for you.  For example:" BR BR
    INDENT36 "Rare or Never" BR
    INDENT36 "Sometimes" BR
    INDENT36 "Often" BR
    INDENT36 "Very Often" BR BR
    "Highlight the answer you select then press Enter." BR BR
    "Press Enter to begin.",

    "Select the answer that is accurate for you.  " BR BR
    "Highlight the answer you select, then press Enter." BR BR
    "Press Enter to begin.",
};

constexpr const char* kSpanish[4] = {
    "Instrucciones" BR
    "     Varias oraciones que aparecen en este cuaderno son de carácter íntimo.  "
    "Sus respuestas se mantendrán en secreto. Conteste cada oración de forma "
    "veraz y honesta. Se pudiera recurrir a sus expedientes judiciales o de "
    "tránsito para confirmar sus respuestas. De seguro se detectará cualquier "
    "deshonestidad." BR
    "     Se le van a presentar varias preguntas. Lea cada oración con "
    "cuidado y escoja la contestación que más le acierte a usted. Una vez usted "
    "haya escogido su contestación, debe usted apretar la tecla con la flecha "
    "Hacia Abajo para así iluminar la contestación que usted ha escogido. "
    "Y luego apriete la tecla «Enter». La contestación se ilumina cuando tiene "
    "color azul claro brillando alrededor de ella." BR
    "     Usted puede usar las flechas Hacia Arriba y Hacia Abajo en sus teclas "
    "para cambiar las contestaciones. Pero asegúrese de que la contestación que "
    "usted escoja esté iluminada antes de que usted apriete la tecla «Enter». "
    "Además, usted puede utilizar la tecla «Tab» para que le repitan la "
    "pregunta." BR
    "     «El licor» o «la bebida» implica cerveza, vino u otros destilados. "
    "«Las drogas» significa tanto las recetadas como las sancionadas, tales "
    "como: la marihuana (fuma o mota), cocaína (coca o perico), «crack» (piedra), "
    "anfetaminas, barbitúricos y heroína." BR
    "     Si tuviera alguna duda, pregúntele al encargado de administrar la prueba "
    "para que le ayude. Cuando entienda bien estas instrucciones, puede comenzar. "
    "Oprima la tecla «Enter» para comenzar.",

    "Las oraciones de esta sección deben contestarse con «Cierto» o "
    "«Falso». Si la oración es cierta, ilumine el área que "
    "dice «Cierto» y entonces apriete «Enter». Si la oración es falsa, "
    "ilumine el  área que dice «Falso» y entonces apriete «Enter». "
    "Oprima la tecla «Enter» para comenzar.",

    "Escoja la respuesta que más le acierte a usted al presente. "
    "Ilumine la respuesta que usted escoja en la pantalla y luego "
    "oprima la tecla «Enter». Use la escala de valores siguiente:" BR BR
    INDENT12 "1. Rara vez o nunca" BR
    INDENT12 "2. A veces" BR
    INDENT12 "3. Seguido o a menudo" BR
    INDENT12 "4. Muy seguido o muy a menudo",

    "Las oraciones de esta sección deben describir su persona o circunstancias. "
    "Ilumine el número de la contestación que usted escoja y que más le acierte: "
    "1, 2, 3 ó 4. Luego oprima la tecla «Enter».",
};

#undef BR
#undef INDENT36
#undef INDENT12

constexpr PresentationTexts kEnglishTexts = {
    "Question Presentation",
    "Use Up or Down arrow keys to highlight answer, then press Enter. Press F10 to go back to previous question.",
    "Press Enter to select this answer. Press Tab or Arrows to hear question again.",
    "Press Enter to select this answer.",
    "When ready press Enter to continue.",
    "Presentation Note",
    "You have completed this part of the test. Press Enter to continue.",
    "You have completed the test. Thank you for your participation.\r\rPress Enter to continue.",
};

constexpr PresentationTexts kSpanishTexts = {
    "Presentación de preguntas",
    "Oprima las teclas de flechas Hacia Arriba o Hacia Abajo para iluminar su respuesta. Luego oprima la tecla "
    "«Enter». Oprima la tecla «F10» para ver la pregunta anterior.",
    "Ilumine la respuesta que usted escoja y luego oprima la tecla «Enter».",
    "Ilumine la respuesta que usted escoja y luego oprima la tecla «Enter».",
    "Oprima la tecla «Enter» para seguir.",
    "Nota de Presentación",
    "Usted ha terminado esta parte de la prueba. Oprima la tecla «Enter» para seguir.",
    "Usted ha terminado la prueba. Se le agradece su participación.\r\rOprima la tecla «Enter» para terminar.",
};

}  // namespace

bool isSpanish(const std::string& language) {
  std::string upper = language;
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper == "SPANISH";
}

InstructionTexts BuildInstructions(const std::string& language) {
  const auto& texts = isSpanish(language) ? kSpanish : kEnglish;
  return {texts[0], texts[1], texts[2], texts[3]};
}

const PresentationTexts& presentationTexts(const std::string& language) {
  return isSpanish(language) ? kSpanishTexts : kEnglishTexts;
}

std::string spokenForm(const std::string& shown) {
  std::string out;
  auto endLine = [&out] {
    while (!out.empty() && out.back() == ' ') out.pop_back();
    if (out.empty()) return;
    const char last = out.back();
    if (last != '.' && last != ':' && last != '?' && last != '!' && last != ',') out += '.';
    out += ' ';
  };
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const char c = shown[i];
    if (shown.compare(i, 2, "\xC2\xAB") == 0 || shown.compare(i, 2, "\xC2\xBB") == 0) {
      ++i;  // « and » are seen, not read
      continue;
    }
    if (c == '"') continue;
    if (c == '\r' || c == '\n') {
      endLine();
      continue;
    }
    if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
    out += c;
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

}  // namespace zv
