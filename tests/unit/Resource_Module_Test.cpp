// Resource_Module: lookup in a fixture module the test writes itself, the
// failures of damaged or foreign files, and the generated library's movies
// played through Qt's GIF reader (what the movie control uses).
#include "platform/Resource_Module.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QMovie>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> Bytes_Of(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

std::vector<uint8_t> Read_File(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Write_File(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Text that deflates well but is not one repeated byte.
std::vector<uint8_t> Compressible_Payload() {
  std::string text;
  for (int i = 0; i < 2000; ++i) text += "outline point " + std::to_string(i * 37 % 1009) + ";\n";
  return Bytes_Of(text);
}

struct Fixture_Entry {
  std::string Stored_Name; // "TYPE/NAME" as written
  std::vector<uint8_t> Bytes;
  bool Deflate;
};

class Resource_Module_Fixture : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "resource_module_test.XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    Folder_ = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(Folder_, ignored);
  }

  fs::path Write_Module(const std::string& file_name, const std::vector<Fixture_Entry>& entries) {
    const fs::path path = Folder_ / file_name;
    int code = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    EXPECT_NE(archive, nullptr);
    if (archive == nullptr) return path;
    for (const Fixture_Entry& entry : entries) {
      zip_source_t* source = zip_source_buffer(archive, entry.Bytes.data(), entry.Bytes.size(), 0);
      const zip_int64_t index = zip_file_add(archive, entry.Stored_Name.c_str(), source, ZIP_FL_ENC_UTF_8);
      EXPECT_GE(index, 0) << entry.Stored_Name;
      zip_set_file_compression(archive, static_cast<zip_uint64_t>(index),
                               entry.Deflate ? ZIP_CM_DEFLATE : ZIP_CM_STORE, 0);
    }
    EXPECT_EQ(zip_close(archive), 0);
    return path;
  }

  // The standard fixture: pictures, texts and a movie, mixed case.
  fs::path Write_Standard_Module() {
    return Write_Module("library.bioTarvik", {
                                                 {"JPEG/Texx_01", Bytes_Of("first skin"), false},
                                                 {"SWF/Flash_01", Bytes_Of("movie one"), false},
                                                 {"JPEG/BCKGRND", Bytes_Of("background"), true},
                                                 {"TXT_DATA/txt_001", Compressible_Payload(), true},
                                                 {"jpeg/Starburst_02", Bytes_Of("star two"), false},
                                                 {"README", Bytes_Of("no type"), false},
                                             });
  }

  fs::path Folder_;
};

TEST_F(Resource_Module_Fixture, Lookup_Ignores_Case_Of_Type_And_Name) {
  const auto module = Resource_Module::Open(Write_Standard_Module().string());
  ASSERT_NE(module, nullptr);
  struct Case {
    const char* Why;
    const char* Type;
    const char* Name;
    std::string Expected;
  };
  const Case cases[] = {
      {"exact", "JPEG", "Texx_01", "first skin"},
      {"lower-case type", "jpeg", "Texx_01", "first skin"},
      {"upper-case name", "SWF", "FLASH_01", "movie one"},
      {"mixed case both", "sWf", "fLaSh_01", "movie one"},
      {"stored lower-case type", "JPEG", "Starburst_02", "star two"},
      {"deflated entry", "Jpeg", "bckgrnd", "background"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Why);
    EXPECT_TRUE(module->Has(c.Type, c.Name));
    const auto bytes = module->Read(c.Type, c.Name);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(*bytes, Bytes_Of(c.Expected));
  }
  EXPECT_EQ(module->Read("TXT_DATA", "TXT_001"), Compressible_Payload());
}

TEST_F(Resource_Module_Fixture, Missing_Resources_Are_Absent) {
  const auto module = Resource_Module::Open(Write_Standard_Module().string());
  ASSERT_NE(module, nullptr);
  struct Case {
    const char* Why;
    const char* Type;
    const char* Name;
  };
  const Case cases[] = {
      {"unknown name", "JPEG", "Texx_02"},
      {"name under another type", "SWF", "Texx_01"},
      {"unknown type", "TGA", "FONTLINES"},
      {"entry without a type folder", "", "README"},
      {"name prefix only", "JPEG", "Texx_0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Why);
    EXPECT_FALSE(module->Has(c.Type, c.Name));
    EXPECT_EQ(module->Read(c.Type, c.Name), std::nullopt);
  }
}

TEST_F(Resource_Module_Fixture, Names_Lists_One_Type_In_Archive_Order_As_Stored) {
  const auto module = Resource_Module::Open(Write_Standard_Module().string());
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(module->Names("jpeg"), (std::vector<std::string>{"Texx_01", "BCKGRND", "Starburst_02"}));
  EXPECT_EQ(module->Names("SWF"), (std::vector<std::string>{"Flash_01"}));
  EXPECT_TRUE(module->Names("POINTS").empty());
  EXPECT_EQ(module->Path(), (Folder_ / "library.bioTarvik").string());
}

TEST_F(Resource_Module_Fixture, Unreadable_File_Gives_No_Module_And_A_Reason) {
  const fs::path good = Write_Standard_Module();
  const std::vector<uint8_t> whole = Read_File(good);
  Write_File(Folder_ / "text.dtexx", Bytes_Of("[Skin]\nName=not an archive\n"));
  Write_File(Folder_ / "empty.dtexx", {});
  Write_File(Folder_ / "truncated.dtexx", std::vector<uint8_t>(whole.begin(), whole.begin() + whole.size() / 2));
  struct Case {
    const char* Why;
    const char* File;
  };
  const Case cases[] = {
      {"missing file", "missing.bioTarvik"},
      {"text file", "text.dtexx"},
      {"empty file", "empty.dtexx"},
      {"archive cut in half", "truncated.dtexx"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Why);
    const std::string path = (Folder_ / c.File).string();
    std::string error;
    EXPECT_EQ(Resource_Module::Open(path, &error), nullptr);
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_GT(error.size(), path.size() + 20) << error;
    EXPECT_EQ(Resource_Module::Open(path), nullptr); // no error string wanted
  }
  std::string missing;
  Resource_Module::Open((Folder_ / "missing.bioTarvik").string(), &missing);
  EXPECT_NE(missing.find("does not exist"), std::string::npos) << missing;
}

TEST_F(Resource_Module_Fixture, Damaged_Entry_Reads_As_Nothing_And_Spares_The_Others) {
  enum class Spoil { Data, Local_Header };
  struct Case {
    const char* Why;
    bool Deflate;
    Spoil Where;
  };
  const Case cases[] = {
      {"stored entry, checksum fails", false, Spoil::Data},
      {"deflated entry, data corrupt", true, Spoil::Data},
      {"entry header points past its data", true, Spoil::Local_Header},
  };
  const std::string damaged_name = "TGA/FONTLINES";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Why);
    const fs::path path = Write_Module("damaged.bioTarvik", {
                                                                {damaged_name, Compressible_Payload(), c.Deflate},
                                                                {"POINTS/pApp_X", Bytes_Of("12 34\n56 78\n"), false},
                                                            });
    // The entry's data as stored, to find it in the file.
    std::vector<uint8_t> stored;
    {
      zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, nullptr);
      ASSERT_NE(archive, nullptr);
      zip_file_t* raw = zip_fopen(archive, damaged_name.c_str(), ZIP_FL_COMPRESSED);
      ASSERT_NE(raw, nullptr);
      stored.resize(1 << 20);
      stored.resize(static_cast<size_t>(zip_fread(raw, stored.data(), stored.size())));
      zip_fclose(raw);
      zip_discard(archive);
    }
    std::vector<uint8_t> file = Read_File(path);
    size_t spoil_at = 0;
    size_t spoil_bytes = 16;
    if (c.Where == Spoil::Data) {
      const auto at = std::search(file.begin(), file.end(), stored.begin(), stored.end());
      ASSERT_NE(at, file.end());
      spoil_at = static_cast<size_t>(at - file.begin()) + stored.size() / 2;
    } else {
      // The local header (30 fixed bytes, then the name) is the first place
      // the name appears; the central directory comes later. Its last four
      // fixed bytes give the lengths of name and extra field, which place
      // the data.
      const auto at = std::search(file.begin(), file.end(), damaged_name.begin(), damaged_name.end());
      ASSERT_NE(at, file.end());
      ASSERT_GE(at - file.begin(), 30);
      spoil_at = static_cast<size_t>(at - file.begin()) - 4;
      spoil_bytes = 4;
    }
    for (size_t i = 0; i < spoil_bytes; ++i) file[spoil_at + i] ^= 0x5A;
    Write_File(path, file);

    std::string error;
    const auto module = Resource_Module::Open(path.string(), &error);
    ASSERT_NE(module, nullptr) << error;
    EXPECT_TRUE(module->Has("TGA", "FONTLINES"));
    EXPECT_EQ(module->Read("TGA", "FONTLINES"), std::nullopt);
    EXPECT_EQ(module->Read("POINTS", "pApp_X"), Bytes_Of("12 34\n56 78\n"));
  }
}

// The movies of the generated library, as the preview fallback and the About
// page play them.
TEST(Resource_Library_Movies, Every_Movie_Is_A_Looping_320x240_Animation) {
  const char* tree = std::getenv("GLOWSAVER_TREE");
  ASSERT_NE(tree, nullptr) << "GLOWSAVER_TREE must name the built install tree";
  const std::string library = (fs::path(tree) / "Plugins" / "ServiceFullSet.bioTarvik").string();
  std::string error;
  const auto module = Resource_Module::Open(library, &error);
  ASSERT_NE(module, nullptr) << error;

  int argc = 1;
  char program[] = "resource_module_test";
  char* argv[] = {program, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv); // QMovie keeps its frames as pixmaps

  const char* names[] = {"Flash_01",      "Flash_02",      "Flash_03",      "Flash_tunnel",
                         "Flash_Star_01", "Flash_Star_02", "Flash_Star_03", "Flash_Star_04",
                         "Flash_Star_05", "Flash_Star_06", "Flash_Star_07"};
  for (const char* name : names) {
    SCOPED_TRACE(name);
    const auto bytes = module->Read("SWF", name);
    ASSERT_TRUE(bytes.has_value());
    const QByteArray data(reinterpret_cast<const char*>(bytes->data()), static_cast<qsizetype>(bytes->size()));

    QBuffer buffer;
    buffer.setData(data);
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    QImageReader reader(&buffer);
    ASSERT_TRUE(reader.canRead()) << reader.errorString().toStdString();
    EXPECT_EQ(reader.format(), "gif");
    EXPECT_EQ(reader.loopCount(), -1); // loops forever
    const int count = reader.imageCount();
    EXPECT_GT(count, 1);
    std::vector<QImage> frames;
    while (reader.canRead()) {
      QImage frame = reader.read();
      ASSERT_FALSE(frame.isNull()) << "frame " << frames.size() << ": " << reader.errorString().toStdString();
      EXPECT_EQ(frame.size(), QSize(320, 240));
      EXPECT_GE(reader.nextImageDelay(), 40);
      EXPECT_LE(reader.nextImageDelay(), 60);
      frames.push_back(std::move(frame));
    }
    EXPECT_EQ(static_cast<int>(frames.size()), count);
    ASSERT_GT(frames.size(), 1u);
    EXPECT_NE(frames.front(), frames[frames.size() / 2]) << "the movie does not move";

    QBuffer movie_buffer;
    movie_buffer.setData(data);
    QMovie movie(&movie_buffer);
    ASSERT_TRUE(movie.isValid());
    EXPECT_EQ(movie.frameCount(), count);
    for (int f = 0; f < count; ++f) {
      ASSERT_TRUE(movie.jumpToNextFrame()) << "frame " << f;
      EXPECT_EQ(movie.currentImage().size(), QSize(320, 240)) << "frame " << f;
    }
  }
}

} // namespace
