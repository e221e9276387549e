#pragma once
#include <QString>

namespace plat::office {

// The office suite's program ("soffice", found on the PATH); empty when it is not installed.
QString officeProgram();

// Writes an office document (Word, text...) as a PDF file with the office suite run headless.
// The suite runs on a profile of its own, so that a suite the user has open does not take the
// job; its result replaces `pdf`. Answers an empty text on success, else the reason.
QString convertToPdf(const QString &document, const QString &pdf);

} // namespace plat::office
