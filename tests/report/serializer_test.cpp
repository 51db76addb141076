// The serializer: attribute conversions, dotted names, errors, unknown classes, name reuse,
// references, nested collections, binary property data, writing and round trips.
#include <gtest/gtest.h>

#include <sstream>

#include "report/model/qbx_application.h"
#include "report/document/qbx_xml_document.h"
#include "test_classes.h"

namespace zavrik::test {
namespace {

template <class T>
T& Get(TqbxComponent& report, const char16_t* name) {
  auto* found = dynamic_cast<T*>(report.FindObject(name));
  if (!found) throw Error(u"missing " + String(name));
  return *found;
}

TEST(Serializer, AttributeConversionsByTypeKind) {
  std::vector<String> errors;
  auto report = LoadReport(Template(
      "<TtstBand Name=\"Band1\" Left=\"10,5\" Top=\" 1 000.25 \" Tag=\"$1F\" Visible=\"false\" "
      "Font.Style=\"3\" Font.Name=\"Times&#32;New Roman\" Anchors=\"15\">"
      "<TtstMemoView Name=\"Memo1\" HAlign=\"2\" Frame.Typ=\"0\" Frame.Width=\"1.5\" Value=\"&#1092;\"/>"
      "<TtstMemoView Name=\"Memo2\" HAlign=\"hablock\" Visible=\"0\" ParentFont=\"False\"/>"
      "<TtstMemoView Name=\"Memo3\" Visible=\"FALSE\" Frame.Typ=\"15\" Font.Nope=\"1\" Nope.Deeper=\"2\" Nope=\"3\"/>"
      "</TtstBand>"),
                           &errors);
  EXPECT_TRUE(errors.empty());
  auto& band = Get<TtstBand>(*report, u"Band1");
  EXPECT_DOUBLE_EQ(band.Left(), 10.5);
  EXPECT_DOUBLE_EQ(band.Top(), 1000.25);
  EXPECT_EQ(band.Tag(), 31);
  EXPECT_FALSE(band.Visible());
  EXPECT_EQ(band.Font()->Style(), fsBold | fsItalic);
  EXPECT_EQ(band.Font()->Name(), u"Times New Roman");
  EXPECT_EQ(band.Anchors(), 15);
  auto& memo1 = Get<TtstMemoView>(*report, u"Memo1");
  EXPECT_EQ(memo1.HAlign(), haCenter);
  EXPECT_EQ(memo1.Frame()->Typ(), 0);
  EXPECT_DOUBLE_EQ(memo1.Frame()->Width(), 1.5);
  EXPECT_EQ(memo1.Value().StringValue(), u"ф");
  EXPECT_TRUE(memo1.Visible());
  EXPECT_EQ(memo1.Font()->Name(), u"Times New Roman");  // follows the band
  auto& memo2 = Get<TtstMemoView>(*report, u"Memo2");
  EXPECT_EQ(memo2.HAlign(), haBlock);
  EXPECT_FALSE(memo2.Visible());
  EXPECT_FALSE(memo2.ParentFont());
  auto& memo3 = Get<TtstMemoView>(*report, u"Memo3");
  EXPECT_FALSE(memo3.Visible());
  EXPECT_EQ(memo3.Frame()->Typ(), 15);
}

TEST(Serializer, BadValuesAreCollectedSortedOnceEach) {
  std::vector<String> errors;
  auto report = LoadReport(Template(
      "<TtstMemoView Name=\"M1\" Left=\"1.2.3\" Tag=\"x\" HAlign=\"haNowhere\" Top=\"7\" Value=\"&#12x;\"/>"
      "<TtstMemoView Name=\"M2\" Tag=\"x\" HAlign=\"9\" Width=\"3\"/>"
      "<TtstMemoView Name=\"9bad\" Height=\"4\"/>"),
                           &errors);
  EXPECT_EQ(errors, (std::vector<String>{u"'1.2.3' is not a valid floating point value", u"'12x' is not a valid integer value",
                                         u"'9bad' is not a valid component name", u"'x' is not a valid integer value",
                                         u"Invalid property value"}));
  EXPECT_DOUBLE_EQ(Get<TtstMemoView>(*report, u"M1").Top(), 7);  // the other attributes still apply
  EXPECT_DOUBLE_EQ(Get<TtstMemoView>(*report, u"M2").Width(), 3);
  EXPECT_EQ(report->Count(), 3);
  EXPECT_DOUBLE_EQ(report->Child(2).Height(), 4);
}

TEST(Serializer, UnknownClassesSkipTheirSubtreeWithOneMessage) {
  std::vector<String> errors;
  auto report = LoadReport(Template(
      "<TqbxNoSuchView Name=\"X\"><TtstMemoView Name=\"Y\"/></TqbxNoSuchView>"
      "<TqbxNoSuchView Name=\"Z\"/><TtstFrame Name=\"F\"/><TtstBand Name=\"B\"/>"),
                           &errors);
  EXPECT_EQ(errors, (std::vector<String>{u"Не удалось найти класс TqbxNoSuchView", u"Не удалось найти класс TtstFrame"}));
  EXPECT_EQ(report->FindObject(u"X"), nullptr);
  EXPECT_EQ(report->FindObject(u"Y"), nullptr);
  EXPECT_EQ(report->AllObjects().size(), 1u);
}

TEST(Serializer, ElementsWithTheSameNameShareOneObject) {
  std::vector<String> errors;
  auto report = LoadReport(Template(
      "<TtstBand Name=\"B1\"><TtstMemoView Name=\"Memo1\" Left=\"5\"/></TtstBand>"
      "<TtstBand Name=\"B2\"><TtstMemoView Name=\"memo1\" Top=\"6\"><TtstMemoView Name=\"Sub\"/></TtstMemoView></TtstBand>"),
                           &errors);
  EXPECT_TRUE(errors.empty());
  auto& memo = Get<TtstMemoView>(*report, u"Memo1");
  EXPECT_DOUBLE_EQ(memo.Left(), 5);
  EXPECT_DOUBLE_EQ(memo.Top(), 6);
  EXPECT_EQ(memo.Name(), u"memo1");
  EXPECT_EQ(memo.Parent()->Name(), u"B1");  // reused, not moved
  EXPECT_EQ(memo.Count(), 1);
  EXPECT_EQ(report->AllObjects().size(), 4u);
}

TEST(Serializer, ReferencesResolveAfterTheWholeTree) {
  auto report = LoadReport(Template(
      "<TtstBand Name=\"B1\" DataSet=\"query1\"/><TtstBand Name=\"B2\" DataSet=\"Nowhere\"/>"
      "<TtstBand Name=\"B3\" DataSet=\"B1\"/><TtstBand Name=\"B4\" DataSet=\"dm.Q\"/>"
      "<TtstQuery Name=\"Query1\" SQL.Text=\"select 1&#13;&#10;from t\"/>"));
  auto& query = Get<TtstQuery>(*report, u"Query1");
  EXPECT_EQ(Get<TtstBand>(*report, u"B1").DataSet(), &query);
  EXPECT_EQ(Get<TtstBand>(*report, u"B2").DataSet(), nullptr);
  EXPECT_EQ(Get<TtstBand>(*report, u"B3").DataSet(), nullptr);  // a band is not a data source
  EXPECT_EQ(Get<TtstBand>(*report, u"B4").DataSet(), nullptr);
  EXPECT_EQ(query.SQL()->Lines(), (std::vector<String>{u"select 1", u"from t"}));
  EXPECT_EQ(Get<TtstBand>(*report, u"B1").LoadedCalls, 1);
  EXPECT_FALSE(Get<TtstBand>(*report, u"B1").IsLoading);

  // Dotted names reach application-level components such as the data module.
  TtstQuery outside;
  RegisterApplicationComponent({u"dm", [&](StringView path) -> Object* { return path == u"Q" ? &outside : nullptr; },
                                [&](const Object& o) { return &o == &outside ? String(u"Q") : String(); }});
  auto again = LoadReport(Template("<TtstBand Name=\"B4\" DataSet=\"DM.Q\"/>"));
  EXPECT_EQ(Get<TtstBand>(*again, u"B4").DataSet(), &outside);
  EXPECT_NE(SaveReport(*again).find("DataSet=\"dm.Q\""), std::string::npos);
  UnregisterApplicationComponent(u"dm");
}

TEST(Serializer, NestedCollectionsMemoTextAndPropData) {
  // Items: vaList of (vaList "Expression=\"a\"" vaNull) ... vaNull, then a published Tag as vaInt16.
  TqbxPropWriter data;
  data.WritePropName(u"Items");
  data.WriteValueType(vaList);
  for (const char16_t* text : {u"Expression=\"[a]\"", u"Expression=\"b\""}) {
    data.WriteValueType(vaList);
    data.WriteString(text);
    data.WriteValueType(vaNull);
  }
  data.WriteValueType(vaNull);
  data.WritePropName(u"Left");  // design-time position as an integer
  data.WriteInteger(300);
  data.WritePropName(u"Unknown");
  data.WriteValueType(vaCollection);
  data.WriteValueType(vaList);
  data.WritePropName(u"X");
  data.WriteFloat(1.5);
  data.WriteValueType(vaNull);
  data.WriteValueType(vaNull);
  data.WritePropName(u"HAlign");
  data.WriteIdent(u"haRight");
  data.WritePropName(u"Tag");
  data.WriteValueType(vaInt32);  // truncated: the first error ends the data silently
  const std::string hex = StringToUtf8(BytesToHex(data.Bytes()));
  std::vector<String> errors;
  auto report = LoadReport(Template(
      "<Variables><item Expression=\"ID\"/><other Expression=\"X\"/></Variables>"
      "<TtstMemoView Name=\"M\" Text=\"line1&#13;&#10;line2\" PropData=\"" + hex + "\"/>"
      "<TtstMemoView Name=\"C\" x=\"compact\" l=\"1,5\" t=\"2\" w=\"3\" h=\"4\"/>"),
                           &errors);
  EXPECT_TRUE(errors.empty());
  ASSERT_EQ(report->Variables.size(), 2u);
  EXPECT_EQ(report->Variables[1]->Expression(), u"X");
  auto& memo = Get<TtstMemoView>(*report, u"M");
  EXPECT_EQ(memo.MemoText(), u"line1\r\nline2");
  ASSERT_EQ(memo.Items.size(), 2u);
  EXPECT_EQ(memo.Items[0]->Expression(), u"[a]");
  EXPECT_DOUBLE_EQ(memo.Left(), 300);
  EXPECT_EQ(memo.HAlign(), haRight);
  EXPECT_EQ(memo.Tag(), 0);
  auto& compact = Get<TtstMemoView>(*report, u"C");
  EXPECT_EQ(compact.MemoText(), u"compact");
  EXPECT_DOUBLE_EQ(compact.Left(), 1.5);
  EXPECT_DOUBLE_EQ(compact.Height(), 4);

  // Writing gives the same data back; reading that gives the same objects.
  const std::string saved = SaveReport(*report);
  EXPECT_NE(saved.find("<Variables>\r\n    <item Expression=\"ID\"/>"), std::string::npos);
  auto again = LoadReport(saved);
  EXPECT_EQ(SaveReport(*again), saved);
  EXPECT_EQ(Get<TtstMemoView>(*again, u"M").Items.size(), 2u);
}

TEST(Serializer, OldFormatTextsAreUtf8InEightBitCharacters) {
  // "Ф" as UTF-8 bytes D0 A4, each read through Windows-1251 in an old-format document.
  auto report = LoadReport("<?xml version=\"1.0\"?><TtstReport><TtstMemoView Name=\"M\" Text=\"\xD0\xA4\" "
                           "Description=\"\xD4\"/><TtstMemoView Name=\"U\" u=\"\xD0\xA4\"/></TtstReport>");
  EXPECT_EQ(Get<TtstMemoView>(*report, u"M").MemoText(), u"Ф");
  EXPECT_EQ(Get<TtstMemoView>(*report, u"M").Description(), u"Ф");
  EXPECT_EQ(Get<TtstMemoView>(*report, u"U").MemoText(), u"Ф");
}

TEST(Serializer, WritingSkipsDefaultsButAlwaysWritesFloats) {
  auto report = LoadReport(Template(
      "<TtstBand Name=\"Band1\" Height=\"18.89765\" Left=\"0\" Top=\"94.48825\" Width=\"718.1107\" DataSet=\"Q\">"
      "<TtstMemoView Name=\"Memo1\" Left=\"3.77953\" Width=\"200\" HAlign=\"haCenter\" Value=\"\" "
      "Font.Style=\"1\" Text=\"Invoice&#13;&#10;second line&#13;&#10;\" IndexTag=\"0\"/></TtstBand><TtstQuery Name=\"Q\"/>"));
  report->ScriptText()->SetText(u"begin\r\nend.");
  const std::string saved = SaveReport(*report);
  EXPECT_EQ(SaveReport(*LoadReport(saved)), saved);  // read, write, read: the same tree
  EXPECT_EQ(saved,
            "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\r\n"
            "<TtstReport ScriptText.Text=\"begin&#13;&#10;end.\">\r\n"
            "  <TtstBand Name=\"Band1\" Left=\"0\" Top=\"94.48825\" Width=\"718.1107\" Height=\"18.89765\" "
            "Font.Height=\"-13\" Font.Name=\"Arial\" DataSet=\"Q\">\r\n"
            "    <TtstMemoView Name=\"Memo1\" Left=\"3.77953\" Top=\"0\" Width=\"200\" Height=\"0\" Font.Height=\"-13\" "
            "Font.Name=\"Arial\" Font.Style=\"1\" Frame.Width=\"1\" HAlign=\"haCenter\" Value=\"\" "
            "Text=\"Invoice&#13;&#10;second line\"/>\r\n"
            "  </TtstBand>\r\n"
            "  <TtstQuery Name=\"Q\"/>\r\n"
            "</TtstReport>\r\n");
}

TEST(Serializer, OwnFontAttributesKeepTheLoadedFontAndReadBackAsWritten) {
  const std::string body =
      "<TtstBand Name=\"B\" Font.Name=\"Courier New\">"
      "<TtstMemoView Name=\"Bold\" Font.Style=\"1\"/>"
      "<TtstMemoView Name=\"Same\" Font.Name=\"Courier New\"/>"
      "<TtstMemoView Name=\"Plain\"/></TtstBand>";
  auto report = LoadReport(Template(body));
  auto& band = Get<TtstBand>(*report, u"B");
  auto& bold = Get<TtstMemoView>(*report, u"Bold");
  auto& same = Get<TtstMemoView>(*report, u"Same");
  EXPECT_FALSE(bold.ParentFont());  // its own font: the band's, bold
  EXPECT_EQ(bold.Font()->Name(), u"Courier New");
  EXPECT_TRUE(same.ParentFont());  // attributes that give the band's font keep the link
  const std::string saved = SaveReport(*report);
  EXPECT_EQ(saved.find("ParentFont"), std::string::npos) << saved;
  EXPECT_EQ(SaveReport(*LoadReport(saved)), saved);
  band.Font()->SetName(u"Tahoma");
  EXPECT_EQ(bold.Font()->Name(), u"Courier New");
  EXPECT_EQ(same.Font()->Name(), u"Tahoma");

  // A detached copy (a rebuilt prepared page) decides when it joins its band.
  TqbxXMLSerializer serializer(report.get());
  const String text = serializer.WriteComponentStr(bold);
  for (const char16_t* band_font : {u"Arial", u"Tahoma"}) {
    TtstReport target;
    auto& parent = TqbxComponent::CreateIn<TtstBand>(target);
    parent.Font()->SetName(band_font);
    TqbxXMLSerializer reader(&target);
    TqbxComponent& joined = parent.AddChild(reader.ReadDetachedComponentStr(text));
    EXPECT_EQ(joined.Font()->Name(), u"Courier New") << StringToUtf8(band_font);
    EXPECT_EQ(joined.Font()->Style(), fsBold);
    EXPECT_FALSE(joined.ParentFont());
  }
  TtstReport target;
  auto& parent = TqbxComponent::CreateIn<TtstBand>(target);
  parent.Font()->SetName(u"Tahoma");  // the font `same` follows now
  TqbxXMLSerializer reader(&target);
  TqbxComponent& joined = parent.AddChild(reader.ReadDetachedComponentStr(serializer.WriteComponentStr(same)));
  EXPECT_TRUE(joined.ParentFont());
}

TEST(Serializer, CompiledAttributesBuildWhatTheJoinedTextBuilds) {
  RegisterTestClasses();
  // Dotted names, a bad enumeration value, text escapes and the font decided over both parts.
  const String base =
      u"TtstMemoView Name=\"M\" Left=\"7\" HAlign=\"haNope\" Frame.Typ=\"15\" Frame.Width=\"1,5\" "
      u"Font.Name=\"Courier New\" Value=\"a&#38;b\" Text=\"one&#13;&#10;two\"";
  for (const char16_t* diff : {u"", u"t=\"3\" u=\"x&#60;y\"", u"ParentFont=\"True\" l=\"2\" w=\"bad\"",
                               u"HAlign=\"haRight\" Font.Style=\"1\""}) {
    TqbxXMLSerializer joined_reader, compiled_reader;
    const std::unique_ptr<TqbxComponent> joined = joined_reader.ReadDetachedComponentStr(base + u" " + diff);
    const TqbxCompiledComponent compiled = compiled_reader.CompileComponentStr(base);
    EXPECT_TRUE(compiled_reader.Errors.Empty());  // errors come with each component made
    for (int copy = 0; copy < 2; ++copy) {
      const std::unique_ptr<TqbxComponent> made = compiled_reader.ReadDetachedComponent(compiled, diff);
      TqbxXMLSerializer writer;
      writer.SerializeDefaultValues = true;
      EXPECT_EQ(writer.WriteComponentStr(*made), writer.WriteComponentStr(*joined)) << StringToUtf8(diff);
      EXPECT_EQ(made->ParentFont(), joined->ParentFont()) << StringToUtf8(diff);
    }
    EXPECT_EQ(compiled_reader.Errors.Items(), joined_reader.Errors.Items()) << StringToUtf8(diff);
    EXPECT_GE(joined_reader.Errors.Count(), 1);
  }
  TqbxXMLSerializer reader;
  EXPECT_THROW(reader.CompileComponentStr(u"TtstNoSuchView Left=\"1\""), Error);
}

TEST(Serializer, CopiesAndSingleComponentStrings) {
  auto report = LoadReport(Template(
      "<TtstBand Name=\"B\" Width=\"50\"><TtstMemoView Name=\"M\" Left=\"7\" HAlign=\"haRight\"/></TtstBand>"));
  auto& band = Get<TtstBand>(*report, u"B");
  auto& memo = Get<TtstMemoView>(*report, u"M");
  memo.SetValue(Variant::CreateArray({{0, 1}}));  // no text form: written empty
  auto& copy = TqbxComponent::CreateIn<TtstMemoView>(band);
  copy.Assign(memo);
  EXPECT_EQ(copy.Value().StringValue(), u"");
  EXPECT_DOUBLE_EQ(copy.Left(), 7);
  EXPECT_EQ(copy.HAlign(), haRight);
  EXPECT_EQ(copy.Name(), u"");

  TtstReport other;
  auto& band_copy = TqbxComponent::CreateIn<TtstBand>(other);
  band_copy.AssignAll(band);
  ASSERT_EQ(band_copy.Count(), 2);  // M and the unnamed copy
  EXPECT_EQ(band_copy.Child(0).Name(), u"M");
  EXPECT_EQ(dynamic_cast<TtstMemoView&>(band_copy.Child(1)).HAlign(), haRight);
  EXPECT_DOUBLE_EQ(band_copy.Width(), 50);
  EXPECT_EQ(&memo.Parent()->Child(0), &memo);  // the source keeps its children

  TqbxXMLSerializer serializer(report.get());
  const String text = serializer.WriteComponentStr(memo);
  EXPECT_EQ(text.substr(0, 25), u"TtstMemoView Name=\"M\" Lef");
  TtstReport target;
  TqbxXMLSerializer reader(&target);
  TqbxComponent* read = reader.ReadComponentStr(target, text);
  EXPECT_EQ(read->Name(), u"M");
  EXPECT_DOUBLE_EQ(read->Left(), 7);
  std::ostringstream one;
  serializer.WriteComponent(memo, one);
  std::istringstream in(one.str());
  TtstReport target2;
  TqbxXMLSerializer reader2(&target2);
  EXPECT_EQ(dynamic_cast<TtstMemoView&>(*reader2.ReadComponent(target2, in)).HAlign(), haRight);
  EXPECT_THROW(reader2.ReadComponentStr(target2, u"TqbxNothing A=\"1\""), Error);
}

TEST(Serializer, InheritedElementsAndPersistentStrings) {
  auto report = LoadReport(Template(
      "<TtstBand Name=\"B1\"><TtstMemoView Name=\"M\"/></TtstBand><TtstBand Name=\"B2\"><inherited Name=\"M\" Top=\"3\"/>"
      "<inherited Name=\"B2\"/></TtstBand><TtstQuery Name=\"Q\"/>"));
  auto& memo = Get<TtstMemoView>(*report, u"M");
  EXPECT_EQ(memo.Parent()->Name(), u"B2");  // re-attached at the end of its new parent's list
  EXPECT_DOUBLE_EQ(memo.Top(), 3);
  EXPECT_EQ(Get<TtstBand>(*report, u"B2").Parent(), report.get());  // a cycle is refused

  TqbxXMLSerializer serializer(report.get());
  TtstBand& band = Get<TtstBand>(*report, u"B1");
  serializer.ReadPersistentStr(*report, band, u"DataSet=\"Q\" Height=\"12\"");
  EXPECT_EQ(band.DataSet(), &Get<TtstQuery>(*report, u"Q"));
  EXPECT_DOUBLE_EQ(band.Height(), 12);
  TqbxXMLSerializer pending(report.get());
  pending.XMLToObj(u"DataSet=\"q\"", band);
  std::vector<TqbxFixup> fixups;
  pending.CopyFixupList(fixups);
  ASSERT_EQ(fixups.size(), 1u);
  EXPECT_EQ(fixups[0].Name, u"q");
  EXPECT_EQ(fixups[0].Obj, &band);
}

TEST(Serializer, InvalidDocumentsRaiseAndDeepTemplatesLoad) {
  std::vector<String> errors;
  EXPECT_THROW(LoadReport("<TtstReport/>", &errors), TqbxInvalidXMLException);
  std::string deep = "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?><TtstReport>";
  for (int i = 0; i < 100000; ++i) deep += "<TtstBand Width=\"1\">";
  auto report = LoadReport(deep, &errors);
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(report->AllObjects().size(), 100000u);
  // Compact: indentation grows with the depth, so the indented form of such a tree is quadratic.
  TqbxXMLDocument document;
  TqbxXMLSerializer writer(report.get());
  writer.WriteRootComponent(*report, true, document.Root());
  EXPECT_EQ(LoadReport(document.SaveToString())->AllObjects().size(), 100000u);
}

}  // namespace
}  // namespace zavrik::test
