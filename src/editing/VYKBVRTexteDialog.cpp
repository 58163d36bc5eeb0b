#include "editing/VYKBVRTexteDialog.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

#include "strings/VYKBVRResources.h"

namespace bvr {

std::string LinesToText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

std::vector<std::string> TextToLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string::npos) {
      lines.push_back(text.substr(pos));
      break;
    }
    lines.push_back(text.substr(pos, end - pos));
    pos = end + 1;
    if (text[end] == '\r' && pos < text.size() && text[pos] == '\n') {
      ++pos;
    }
  }
  return lines;
}

TVYKTextDialog::TVYKTextDialog(QWidget* parent)
    : TVYKDialog(parent, QStringLiteral("VYKTextDialog"), 292, 227) {
  setWindowTitle(ResString(STextDialogCaption));
  mainMemo_ = new QPlainTextEdit(this);
  mainMemo_->setObjectName(QStringLiteral("mainMemo"));
  mainMemo_->setGeometry(8, 8, 273, 175);
  mainMemo_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  mainMemo_->setTabChangesFocus(true);
  setTabOrder(mainMemo_, OkButton());
  setTabOrder(OkButton(), CancelButton());
  mainMemo_->setFocus();
}

std::string TVYKTextDialog::ZoneText() const {
  // The raw text keeps non-breaking spaces (toPlainText would turn them into spaces); its
  // block and line separators are the memo's line breaks.
  QString text = mainMemo_->document()->toRawText();
  text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
  text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
  return text.toStdString();
}

void TVYKTextDialog::SetZoneText(const std::string& text) {
  QString value = QString::fromStdString(text);
  value.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  value.replace(QChar(u'\r'), QChar(u'\n'));
  mainMemo_->setPlainText(value);
}

}  // namespace bvr
