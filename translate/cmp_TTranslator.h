// The translator unit: languages, their lines and entries, and the translator component.
#pragma once

#include "translate/TLangFormatStrings.h"
#include "translate/TLanguage.h"
#include "translate/TLanguageElement.h"
#include "translate/TQnlfLanguage.h"
#include "translate/TTranslator.h"
