#include "base/Text.h"
#include "scan/PipelineFixture.h"
#include "scan/markup/ScriptAddresses.h"

namespace trawlix::testing {
namespace {

// Each form a page names a photo in without markup: the page "/forms/NAME.html" holds the
// snippet, in which ABS stands for the site's address ("http://127.0.0.1:PORT", with its
// slashes escaped where the snippet escapes them), and names "/forms/NAME.jpg".
struct Form {
  std::string name;
  std::string snippet;
};

std::string Escaped(std::string text, const std::string& slash) {
  ReplaceAll(text, "/", slash);
  return text;
}

class ScriptPhotosTest : public PipelineTest {};

TEST_F(ScriptPhotosTest, PhotosNamedInScriptsAndDataAreSaved) {
  const std::string abs = site.URL("");
  const std::vector<Form> forms = {
      {"ld-content",
       "<script type=\"application/ld+json\">{\"@context\":\"https://schema.org\","
       "\"@type\":\"ImageObject\",\"contentUrl\":\"" +
           abs +
           "/forms/ld-content.jpg\","
           "\"author\":{\"@type\":\"Person\",\"image\":\"/forms/ld-nested.jpg\"}}</script>"},
      {"ld-array",
       "<script type='application/ld+json'>{\"@type\":\"Product\",\"logo\":\"/forms/logo.jpg\","
       "\"image\":[\"/forms/ld-array.jpg\",{\"@type\":\"ImageObject\",\"url\":"
       "\"/forms/ld-object.jpg\",\"thumbnailUrl\":\"/forms/ld-thumb.jpg\"}]}</script>"},
      {"json-block",
       "<script id=\"__NEXT_DATA__\" type=\"application/json\">{\"props\":{\"photos\":[{\"src\":"
       "\"" +
           Escaped(abs + "/forms/json-block.jpg", "\\/") + "\"}]}}</script>"},
      {"json-unicode", "<script type=\"application/json\">[\"" +
                           Escaped("/forms/json-unicode.jpg", "\\u002F") +
                           "\", \"/forms/page.html\"]</script>"},
      {"script-literal",
       "<script>// it's a gallery\nvar photos = ['/forms/script-literal.jpg', \"not a.jpg\"];"
       "</script>"},
      {"script-escaped", "<script type=\"text/javascript\">show(\"" +
                             Escaped(abs + "/forms/script-escaped.jpg", "\\/") + "\");</script>"},
      {"script-json", "<script>window.state = JSON.parse('{\"hero\":\"" +
                          Escaped("/forms/script-json.jpg", "\\\\/") + "\"}');</script>"},
      {"data-json",
       "<div class=\"gallery\" data-items='[{\"full\":\"/forms/data-json.jpg\"}]'></div>"},
      {"data-entities", "<div data-photo=\"{&quot;large&quot;:&quot;" + abs +
                            "/forms/data-entities.jpg?v=1&amp;w=2&quot;}\"></div>"},
      {"noscript", "<noscript><img src=\"/forms/noscript.jpg\"></noscript>"},
      {"base", "<base href=\"/forms/sub/\"><script>load('../base.jpg')</script>"},
  };
  std::string index;
  for (const Form& form : forms) {
    site.AddPage("/forms/" + form.name + ".html",
                 "<html><head>" + form.snippet + "</head><body>...</body></html>");
    site.Add("/forms/" + form.name + ".jpg", "image/jpeg",
             MakeTestPhoto(TestPhotoKind::Jpeg, 400, 300));
    index += "<a href=\"" + form.name + ".html\">" + form.name + "</a>\n";
  }
  for (const std::string extra : {"ld-nested", "logo", "ld-object", "ld-thumb"})
    site.Add("/forms/" + extra + ".jpg", "image/jpeg",
             MakeTestPhoto(TestPhotoKind::Jpeg, 400, 300));
  site.AddPage("/forms/index.html", index);
  project.url = site.URL("/forms/index.html");

  ASSERT_TRUE(RunScan());

  std::set<std::string> expected = {"ld-nested.jpg", "ld-object.jpg", "ld-thumb.jpg"};
  for (const Form& form : forms) expected.insert(form.name + ".jpg");
  EXPECT_EQ(FilesIn(SaveTo()), expected);
  // A JSON-LD logo is no photo of the page.
  EXPECT_EQ(site.Requests("/forms/logo.jpg"), 0);
  // Addresses that name no photo are not taken from data.
  EXPECT_EQ(site.Requests("/forms/page.html"), 0);
}

// A page cannot make the scan read scripts or file addresses without end.
TEST(ScriptAddressesTest, APageNamesAtMostItsShareOfScriptAndAddresses) {
  const PhotoFormats jpeg{true, false, false, false, false};
  std::string many = "<script>";
  for (std::size_t i = 0; i < kMaxScriptAddressesPerPage + 10; ++i)
    many += "'/p/" + std::to_string(i) + ".jpg',";
  many += "</script>";
  EXPECT_EQ(ScriptPhotoAddresses(many, jpeg).size(), kMaxScriptAddressesPerPage);

  const std::string late = "<script>var pad = '" + std::string(kMaxScriptBytesPerPage, 'x') +
                           "';</script><script>'/late.jpg'</script>";
  EXPECT_TRUE(ScriptPhotoAddresses(late, jpeg).empty());
  EXPECT_EQ(ScriptPhotoAddresses("<script>'/p/a.jpg', '/p/a.jpg'</script>"
                                 "<script type=\"text/template\">'/t.jpg'</script>"
                                 "<script>'javascript:open(\"x.jpg\")'</script>",
                                 jpeg),
            std::vector<std::string>{"/p/a.jpg"});
}

}  // namespace
}  // namespace trawlix::testing
