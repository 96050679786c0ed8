// The Windows font faces that stored forms name, on free faces of the same metrics.
#include "vcl/FontFaces.h"

#include <QFont>
#include <QString>

namespace qnl {

void InstallFontSubstitutes() {
  struct TFace {
    const char* Windows;
    const char* Free;
  };
  // The sans serif dialog faces have no metric twin; Arial's widths are the closest.
  static const TFace kFaces[] = {{"Arial", "Liberation Sans"},
                                 {"Helvetica", "Liberation Sans"},
                                 {"MS Sans Serif", "Liberation Sans"},
                                 {"Microsoft Sans Serif", "Liberation Sans"},
                                 {"MS Shell Dlg", "Liberation Sans"},
                                 {"MS Shell Dlg 2", "Liberation Sans"},
                                 {"Tahoma", "Liberation Sans"},
                                 {"Verdana", "Liberation Sans"},
                                 {"Segoe UI", "Liberation Sans"},
                                 {"System", "Liberation Sans"},
                                 {"Small Fonts", "Liberation Sans"},
                                 {"Arial Narrow", "Liberation Sans Narrow"},
                                 {"Times New Roman", "Liberation Serif"},
                                 {"Times", "Liberation Serif"},
                                 {"MS Serif", "Liberation Serif"},
                                 {"Courier New", "Liberation Mono"},
                                 {"Courier", "Liberation Mono"},
                                 {"Fixedsys", "Liberation Mono"},
                                 {"Terminal", "Liberation Mono"},
                                 {"Lucida Console", "Liberation Mono"}};
  for (const TFace& f : kFaces) QFont::insertSubstitution(QString::fromLatin1(f.Windows), QString::fromLatin1(f.Free));
}

} // namespace qnl
