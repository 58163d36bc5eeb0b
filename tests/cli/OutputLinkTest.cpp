// A symbolic link at the output path, as another user could plant one in a shared folder: the
// tool follows it only where the kernel's protected-symlinks rule would, and otherwise refuses
// before writing anything, the link's target untouched.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "CliTestSupport.h"

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr uid_t kOther = 65534;
constexpr uid_t kThird = 4242;
constexpr uid_t kSelf = static_cast<uid_t>(-1);  // the tool's own user

struct Case {
  const char* name;
  mode_t folderMode;  // of the folder holding the link
  uid_t folderOwner;
  uid_t linkOwner;
  bool followed;
};

const Case kCases[] = {
    {"shared_sticky_foreign_link", 01777, kSelf, kOther, false},
    {"shared_sticky_own_link", 01777, kSelf, kSelf, true},
    {"shared_sticky_link_of_folder_owner", 01777, kOther, kOther, true},
    {"shared_sticky_link_of_a_third_user", 01777, kOther, kThird, false},
    {"world_writable_not_sticky", 0777, kSelf, kOther, true},
    {"sticky_not_world_writable", 01775, kSelf, kOther, true},
    {"private_folder", 0700, kSelf, kOther, true},
};

struct OutputLinkTest : bvr::test::CliTest, ::testing::WithParamInterface<Case> {
  void SetUp() override {
    CliTest::SetUp();
    const Case& c = GetParam();
    if ((c.folderOwner != kSelf || c.linkOwner != kSelf) && ::geteuid() != 0) {
      GTEST_SKIP() << "giving a file to another user needs root";
    }
    fs::create_directory(dir / "target");
    target = Write("target/victim.pdf", "old");
    shared = dir / "shared";
    fs::create_directory(shared);
  }

  static void Own(const fs::path& path, uid_t owner) {
    if (owner != kSelf) {
      ASSERT_EQ(::lchown(path.c_str(), owner, static_cast<gid_t>(-1)), 0) << path;
    }
  }

  // link -> target in the shared folder, folder and link owned as the case says.
  fs::path Plant(const std::string& name, const fs::path& to) const {
    const fs::path link = shared / name;
    fs::create_symlink(to, link);
    Own(link, GetParam().linkOwner);
    return link;
  }
  void Share() const {
    Own(shared, GetParam().folderOwner);
    ASSERT_EQ(::chmod(shared.c_str(), GetParam().folderMode), 0);
  }

  void ExpectOutcome(const bvr::test::CliResult& r, const fs::path& link,
                     const fs::path& written) const {
    if (GetParam().followed) {
      EXPECT_EQ(r.code, 0) << r.err;
      EXPECT_EQ(bvr::test::Slurp(written).substr(0, 5), "%PDF-");
      EXPECT_TRUE(fs::is_symlink(link)) << "the link itself must stay";
    } else {
      EXPECT_EQ(r.code, 1);
      EXPECT_EQ(r.out, "");
      EXPECT_EQ(r.err, "Refusing to write \"" + link.string() + "\": \"" + link.string() +
                           "\" is a symbolic link of another user (uid " +
                           std::to_string(GetParam().linkOwner) + ") in the shared folder \"" +
                           shared.string() + "\"\n");
      EXPECT_EQ(bvr::test::Slurp(target), "old");
    }
    // No temporary file anywhere.
    for (const fs::path& folder : {shared, dir / "target"}) {
      for (const auto& entry : fs::directory_iterator(folder)) {
        EXPECT_EQ(entry.path().filename().string().find(".pdf."), std::string::npos)
            << entry.path();
      }
    }
  }

  fs::path target;
  fs::path shared;
};

TEST_P(OutputLinkTest, LinkToAnExistingFile) {
  const fs::path link = Plant("invoices.pdf", target);
  Share();
  ExpectOutcome(Run({"render", "-o", link.string()}), link, target);
}

TEST_P(OutputLinkTest, LinkToAFileNotThereYet) {
  const fs::path fresh = dir / "target" / "fresh.pdf";
  const fs::path link = Plant("invoices.pdf", fresh);
  Share();
  ExpectOutcome(Run({"render", "-o", link.string()}), link, fresh);
  EXPECT_EQ(fs::exists(fresh), GetParam().followed);
}

TEST_P(OutputLinkTest, LinkedFolderOnTheWay) {
  // The link is a folder of the path, reached through a relative name and "..": the same rule.
  const fs::path link = Plant("out", dir / "target");
  Share();
  const bvr::test::CliResult r = Run(
      "render -o " + bvr::test::Quoted((dir / "target" / ".." / "shared/out/victim.pdf").string()));
  if (GetParam().followed) {
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(bvr::test::Slurp(target).substr(0, 5), "%PDF-");
  } else {
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("is a symbolic link of another user"), std::string::npos) << r.err;
    EXPECT_EQ(bvr::test::Slurp(target), "old");
  }
}

TEST_P(OutputLinkTest, BatchRefusesBeforeReadingAnyRow) {
  const fs::path link = Plant("invoices.pdf", target);
  Share();
  const std::string csv = Write("p.csv", "invoice,amount\n1,1\n");
  const bvr::test::CliResult r = Run({"batch", "--csv", csv, "-o", link.string()});
  ExpectOutcome(r, link, target);
}

INSTANTIATE_TEST_SUITE_P(Folders, OutputLinkTest, ::testing::ValuesIn(kCases),
                         [](const auto& p) { return std::string(p.param.name); });

struct LinkLoop : bvr::test::CliTest {};

TEST_F(LinkLoop, IsRefused) {
  fs::create_symlink(dir / "b.pdf", dir / "a.pdf");
  fs::create_symlink(dir / "a.pdf", dir / "b.pdf");
  const bvr::test::CliResult r = Run({"render", "-o", (dir / "a.pdf").string()});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "Refusing to write \"" + (dir / "a.pdf").string() +
                       "\": more than 40 symbolic links\n");
}

}  // namespace
