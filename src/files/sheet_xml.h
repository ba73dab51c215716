#pragma once
// An XML part of a zip, fed to QXmlStreamReader a chunk at a time so that a reader which has what
// it needs stops unpacking. Elements are matched by local name: strict-OOXML namespaces and
// prefixes such as "x:" read like the usual ones.

#include <QXmlStreamReader>
#include <string>
#include <string_view>

#include "files/sheet_zip.h"

namespace qvprt::files::sheet {

inline constexpr int kMaxXmlDepth = 256;

class XmlPart {
  public:
    XmlPart(ZipArchive& zip, std::string_view name);

    // The next token; EndDocument at the end, Invalid when the part is broken (see failure()).
    QXmlStreamReader::TokenType next();
    bool at_start(const char* local) const {
        return xml_.tokenType() == QXmlStreamReader::StartElement &&
               xml_.name() == QLatin1StringView(local);
    }
    bool at_end(const char* local) const {
        return xml_.tokenType() == QXmlStreamReader::EndElement &&
               xml_.name() == QLatin1StringView(local);
    }
    bool is_start() const { return xml_.tokenType() == QXmlStreamReader::StartElement; }
    bool is_end() const { return xml_.tokenType() == QXmlStreamReader::EndElement; }
    bool is_text() const { return xml_.tokenType() == QXmlStreamReader::Characters; }
    QStringView name() const { return xml_.name(); }
    QStringView text() const { return xml_.text(); }
    // The attribute with this local name, in any namespace (or none).
    QStringView attr(const char* local) const;
    // The attribute with this local name in a namespace (r:id beside sheetId).
    QStringView ns_attr(const char* local) const;
    // The attribute with this local name in the namespace `uri`.
    QStringView attr_in(const char* local, const char* uri) const;
    int depth() const { return depth_; }
    bool done() const;  // ended or failed
    bool ok() const { return failure_.error == SheetError::None; }
    Parsed failure() const { return failure_; }
    const std::string& part() const { return stream_.name(); }

  private:
    ZipStream stream_;
    QXmlStreamReader xml_;
    QXmlStreamAttributes attrs_;  // of the current start element
    int depth_ = 0;
    bool fed_all_ = false;
    Parsed failure_;
};

std::string utf8(QStringView s);
// An attribute as a whole number; `fallback` when missing or not one.
long long attr_number(QStringView s, long long fallback);

}  // namespace qvprt::files::sheet
