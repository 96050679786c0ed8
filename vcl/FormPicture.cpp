// A form's window as a picture.
#include "vcl/FormPicture.h"

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include "vcl/Form.h"

namespace qnl {

std::string FormPicturePng(TForm& Form) {
  QApplication::processEvents();
  QImage image = Form.Widget()->grab().toImage();
  if (image.isNull()) throw EInvalidOperation("The window \"" + Form.DialogName() + "\" has no size to draw");
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG"))
    throw EInvalidOperation("The picture of \"" + Form.DialogName() + "\" cannot be encoded");
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

} // namespace qnl
