#include "faults/fault_fixture.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <ostream>

#include "platform/file_paths.h"
#include "ui/widget_test_support.h"

namespace sp::testing {

namespace fs = std::filesystem;

void PrintTo(const ShownMessage& message, std::ostream* out) {
  *out << "{\"" << message.text << "\", style " << message.style << ", \"" << message.caption
       << "\"}";
}

// The file the service's faults point at.
constexpr char kLocalFile[] = "/etc/passwd";

FaultPlatform::FaultPlatform(ProgramState& state, fs::path runDirectory)
    : QtPlatform(state),
      runDirectory_(std::move(runDirectory)),
      localFileStart_(fileBytes(kLocalFile).value_or("").substr(0, 64)) {}

void FaultPlatform::messageBox(const Text& text, int32_t style, const Text& caption) {
  messages_.push_back({utf8FromGbk(text), style, utf8FromGbk(caption)});
}

Text FaultPlatform::runDirectory() {
  return programPath(runDirectory_.string());
}

FetchResult FaultPlatform::httpFetch(const Text& url) {
  FetchResult fetched = QtPlatform::httpFetch(url);
  if (!localFileStart_.empty() && fetched.body.view().find(localFileStart_) != std::string::npos) {
    ++localFileReads_;
  }
  return fetched;
}

ClosedPort::ClosedPort() {
  socket_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  // Bound but not listening: a connection to it is refused at once.
  if (socket_ < 0 || ::bind(socket_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ADD_FAILURE() << "cannot take a port";
    return;
  }
  port_ = ntohs(address.sin_port);
}

ClosedPort::~ClosedPort() {
  if (socket_ >= 0) ::close(socket_);
}

std::optional<std::string> fileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in || fs::is_directory(path)) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> folderEntries(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TreeSnapshot treeSnapshot(const fs::path& folder) {
  TreeSnapshot snapshot;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder, error)) {
    const std::string name = fs::relative(entry.path(), folder).string();
    snapshot[name] = entry.is_directory() ? "<folder>" : fileBytes(entry.path()).value_or("");
  }
  return snapshot;
}

namespace {

constexpr char kServiceLog[] = "service.log";

std::vector<std::string> serviceArguments(const fs::path& logFile) {
  std::vector<std::string> arguments = songservice::testing::standardArguments();
  arguments.insert(arguments.end(), {"--faults", "--log", logFile.string()});
  return arguments;
}

}  // namespace

FaultTest::FaultTest() : service_(serviceArguments(fs::path(scratch_.path()) / kServiceLog)) {}

void FaultTest::SetUp() {
  ASSERT_NE(service_.port(), 0) << "the song service did not start";
  fs::create_directories(runFolder());

  savedSettings_ = settings();
  settings().songServiceHost = service_.host();
  settings().avatarServiceHost = service_.host();
  settings().extraCaFile = std::string(SONGPICKER_CERT_DIR) + "/ca.pem";
  settings().stallTimeout = kStallTimeout;

  state_.songList = std::make_unique<JsonDocument>();
  platform_ = std::make_unique<FaultPlatform>(state_, runFolder());
  platform_->initialise();
  ASSERT_TRUE(platform_->loadWindow(WindowId::Main, false));
  window_ = platform_->mainWindow();
  ASSERT_NE(window_, nullptr);
  showAndExpose(*window_);
}

void FaultTest::TearDown() {
  if (platform_ != nullptr) {
    EXPECT_EQ(platform_->localFileReads(), 0) << "a fetch read " << kLocalFile;
  }
  // The platform takes the main window with it.
  platform_.reset();
  settings() = savedSettings_;
}

void FaultTest::setSongName(const QString& songName) {
  auto* box = control<QLineEdit>(*window_, "编辑框1");
  box->clear();
  box->setFocus();
  typeText(*box, songName);
}

void FaultTest::search(const QString& songName) {
  setSongName(songName);
  QTest::mouseClick(control<QPushButton>(*window_, "按钮1"), Qt::LeftButton);
}

void FaultTest::clickRow(int row) {
  auto* list = control<QTreeWidget>(*window_, "超级列表框1");
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualRect(list->model()->index(row, 0)).center());
}

void FaultTest::download(const QString& fileName) {
  auto* box = control<QLineEdit>(*window_, "编辑框2");
  box->clear();
  box->setFocus();
  typeText(*box, fileName);
  QTest::mouseClick(control<QPushButton>(*window_, "按钮2"), Qt::LeftButton);
}

QString FaultTest::statusLine() const {
  return control<QLabel>(*window_, "标签2")->text();
}

int FaultTest::listedRows() const {
  return control<QTreeWidget>(*window_, "超级列表框1")->topLevelItemCount();
}

int FaultTest::requestsTo(const std::string& prefix) const {
  std::ifstream log(scratch() / kServiceLog);
  int count = 0;
  for (std::string line; std::getline(log, line);) {
    if (line.starts_with("GET " + prefix)) ++count;
  }
  return count;
}

TreeSnapshot FaultTest::programFiles() const {
  TreeSnapshot files = treeSnapshot(scratch());
  files.erase(kServiceLog);
  return files;
}

}  // namespace sp::testing
