// The content of the read-only rich-text view: plain lines, or RTF when the text is RTF.
#pragma once

#include <string>

#include <QTextDocument>

#include "rtl/RtfReader.h"

namespace qnl {

// Builds Document from the paragraphs and runs of an RTF document. Runs without a font
// or colour of their own keep the document's default font and the view's text colour.
void FillTextDocument(QTextDocument& Document, const TRtfDocument& Rtf);

// Sets Document to Text (bytes in the machine's ANSI code page): RTF when it starts with
// "{\rtf", else plain lines. ERtfError when RTF text cannot be read.
void LoadRichText(QTextDocument& Document, const std::string& Text);

} // namespace qnl
