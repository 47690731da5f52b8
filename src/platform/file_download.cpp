#include "platform/file_download.h"

#include "platform/file_services.h"

namespace sp {
namespace {

class ReplacementSink : public BodySink {
 public:
  explicit ReplacementSink(FileReplacement& file) : file_(file) {}

  void expect(int64_t) override {}
  bool append(std::string_view bytes) override {
    if (!file_.write(bytes)) return false;
    size_ += static_cast<int64_t>(bytes.size());
    return true;
  }
  void clear() override {
    restarted_ = file_.restart();
    size_ = 0;
  }
  int64_t size() const override { return size_; }
  bool usable() const { return restarted_; }

 private:
  FileReplacement& file_;
  int64_t size_ = 0;
  bool restarted_ = true;
};

}  // namespace

SaveStatus downloadToFile(const Text& url, const Text& path, const HttpOptions& options) {
  FileReplacement file(path);
  if (!file.valid()) return SaveStatus::WriteFailed;
  ReplacementSink sink(file);
  const FetchResult fetched = httpFetchInto(url, sink, options);
  if (fetched.status == FetchStatus::NotStored || !sink.usable()) return SaveStatus::WriteFailed;
  if (!isWholeSuccessfulBody(fetched, sink.size())) return SaveStatus::FetchFailed;
  return file.commit() ? SaveStatus::Saved : SaveStatus::WriteFailed;
}

}  // namespace sp
