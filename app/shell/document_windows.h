// The windows that show a document. Closing any one of them closes the
// document (asking first when it holds edits).
#pragma once

#include "app/shell/documents.h"

void OpenDocumentWindows(AppDocument& document);
void CloseDocumentWindows(AppDocument& document);
// After a save or an edit: titles, the size line and the pictures.
void RefreshDocumentWindows(AppDocument& document);
