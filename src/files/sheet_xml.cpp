#include "files/sheet_xml.h"

namespace qvprt::files::sheet {

XmlPart::XmlPart(ZipArchive& zip, std::string_view name) : stream_(zip, name) {
    if (stream_.state() != ZipStream::State::Open) {
        failure_ = stream_failure(stream_);
    }
}

QXmlStreamReader::TokenType XmlPart::next() {
    if (!ok()) {
        return QXmlStreamReader::Invalid;
    }
    for (;;) {
        const QXmlStreamReader::TokenType t = xml_.readNext();
        if (t == QXmlStreamReader::Invalid) {
            if (xml_.error() == QXmlStreamReader::PrematureEndOfDocumentError && !fed_all_) {
                char buf[65536];
                const std::size_t n = stream_.read(buf, sizeof buf);
                if (stream_.state() != ZipStream::State::Open) {
                    failure_ = stream_failure(stream_);
                    return t;
                }
                if (n == 0) {
                    fed_all_ = true;
                } else {
                    xml_.addData(QByteArray(buf, static_cast<qsizetype>(n)));
                }
                continue;
            }
            failure_ =
                damaged("“" + part() + "”第" + std::to_string(xml_.lineNumber()) + "行的XML有错误");
            return t;
        }
        if (t == QXmlStreamReader::StartElement) {
            attrs_ = xml_.attributes();
        }
        if (t == QXmlStreamReader::StartElement && ++depth_ > kMaxXmlDepth) {
            failure_ =
                damaged("“" + part() + "”的XML嵌套超过" + std::to_string(kMaxXmlDepth) + "层");
            return QXmlStreamReader::Invalid;
        }
        if (t == QXmlStreamReader::EndElement) {
            --depth_;
        }
        return t;
    }
}

bool XmlPart::done() const {
    return !ok() || xml_.tokenType() == QXmlStreamReader::EndDocument;
}

QStringView XmlPart::attr(const char* local) const {
    for (const QXmlStreamAttribute& a : attrs_) {
        if (a.name() == QLatin1StringView(local)) {
            return a.value();
        }
    }
    return {};
}

QStringView XmlPart::ns_attr(const char* local) const {
    for (const QXmlStreamAttribute& a : attrs_) {
        if (a.name() == QLatin1StringView(local) && !a.namespaceUri().isEmpty()) {
            return a.value();
        }
    }
    return {};
}

QStringView XmlPart::attr_in(const char* local, const char* uri) const {
    for (const QXmlStreamAttribute& a : attrs_) {
        if (a.name() == QLatin1StringView(local) && a.namespaceUri() == QLatin1StringView(uri)) {
            return a.value();
        }
    }
    return {};
}

std::string utf8(QStringView s) {
    return s.toUtf8().toStdString();
}

long long attr_number(QStringView s, long long fallback) {
    bool ok = false;
    const long long v = s.trimmed().toLongLong(&ok);
    return ok ? v : fallback;
}

}  // namespace qvprt::files::sheet
