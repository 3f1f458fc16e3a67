// Recording and answering the two option dialogs and the message boxes.
#pragma once

#include <windows.h>

#include <string>

#include "core/Layout.h"
#include "core/Script.h"
#include "win32/Recorder.h"

namespace uidriver {

// A "dialog" line: the radio buttons (ids, texts, which are checked) and, in
// the port dialog, the combo box's items and selection.
void recordOptionDialog(Recorder& recorder, WindowKind kind, HWND dialog);

// Carries out the scripted answer and writes "answer" lines. Returns what
// went wrong, empty when the answer was given.
std::string answerOptionDialog(Recorder& recorder, WindowKind kind, HWND dialog,
                               const DialogAnswer& answer);

// A "box" line with the caption, the text and the buttons, then the answer
// that `script` gives; returns what went wrong, empty when it was given.
// Records a message box: caption, text, buttons.
void recordBox(Recorder& recorder, HWND box, const std::string& caption);

std::string recordAndAnswerBox(Recorder& recorder, HWND box, const std::string& caption,
                               const Script& script);

// True when the box has filled in its text (boxes can be shown before).
bool boxReady(HWND box);

}  // namespace uidriver
