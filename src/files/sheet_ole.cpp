// libgsf behind the compound file interface.
#include "files/sheet_ole.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-input.h>

#include <QString>

namespace qvprt::files::sheet {
namespace {

// Releases a GObject when the scope ends.
template <typename T>
struct Ref {
    T* p = nullptr;
    explicit Ref(T* o) : p(o) {}
    ~Ref() {
        if (p != nullptr) {
            g_object_unref(p);
        }
    }
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
};

// libgsf reports broken compound files on the terminal as well; the reader's message is enough.
void quiet_gsf() {
    static const bool once = [] {
        g_log_set_handler(
            "libgsf:msole", static_cast<GLogLevelFlags>(G_LOG_LEVEL_MASK),
            [](const gchar*, GLogLevelFlags, const gchar*, gpointer) {}, nullptr);
        return true;
    }();
    (void)once;
}

}  // namespace

Parsed read_ole_workbook(Bytes bytes, std::string& out) {
    quiet_gsf();
    Ref<GsfInput> in(
        gsf_input_memory_new(bytes.data(), static_cast<gsf_off_t>(bytes.size()), FALSE));
    GError* err = nullptr;
    Ref<GsfInfile> ole(gsf_infile_msole_new(in.p, &err));
    if (err != nullptr) {
        g_error_free(err);
    }
    if (ole.p == nullptr) {
        return damaged("OLE复合文档的目录无法读取");
    }
    // Stream names are compared without case: writers differ ("Workbook", "WORKBOOK").
    int workbook = -1;
    bool book = false, encrypted = false;
    const int n = gsf_infile_num_children(ole.p);
    for (int i = 0; i < n; ++i) {
        const char* name = gsf_infile_name_by_index(ole.p, i);
        if (name == nullptr) {
            continue;
        }
        const QString s = QString::fromUtf8(name);
        if (s.compare(QLatin1StringView("Workbook"), Qt::CaseInsensitive) == 0) {
            workbook = i;
        } else if (s.compare(QLatin1StringView("Book"), Qt::CaseInsensitive) == 0) {
            book = true;
        } else if (s == QLatin1StringView("EncryptedPackage")) {
            encrypted = true;
        }
    }
    if (workbook < 0) {
        return failed(encrypted ? SheetError::Encrypted
                      : book    ? SheetError::OldExcel
                                : SheetError::OtherCompound);
    }
    Ref<GsfInput> stream(gsf_infile_child_by_index(ole.p, workbook));
    if (stream.p == nullptr) {
        return damaged("工作簿数据流无法读取");
    }
    const gsf_off_t size = gsf_input_size(stream.p);
    if (size > kMaxUnpackedPartBytes) {
        return failed(SheetError::PartTooLarge, "Workbook",
                      std::to_string(kMaxUnpackedPartBytes >> 20));
    }
    out.clear();
    guint8 buf[65536];
    for (gsf_off_t left = size; left > 0;) {
        const gsf_off_t chunk = std::min<gsf_off_t>(left, static_cast<gsf_off_t>(sizeof buf));
        if (gsf_input_read(stream.p, static_cast<std::size_t>(chunk), buf) == nullptr) {
            return damaged("工作簿数据流不完整");
        }
        out.append(reinterpret_cast<const char*>(buf), static_cast<std::size_t>(chunk));
        left -= chunk;
    }
    return {};
}

}  // namespace qvprt::files::sheet
