#include "tools/templates_letter.h"

#include "tools/zip_writer.h"

#include <QString>

namespace zep {

namespace {

QByteArray manifestXml() {
    return QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0" manifest:version="1.2">
 <manifest:file-entry manifest:full-path="/" manifest:version="1.2" manifest:media-type="application/vnd.oasis.opendocument.text"/>
 <manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml"/>
 <manifest:file-entry manifest:full-path="styles.xml" manifest:media-type="text/xml"/>
 <manifest:file-entry manifest:full-path="meta.xml" manifest:media-type="text/xml"/>
</manifest:manifest>
)")
        .toUtf8();
}

QByteArray metaXml() {
    return QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document-meta xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:meta="urn:oasis:names:tc:opendocument:xmlns:meta:1.0"
 xmlns:dc="http://purl.org/dc/elements/1.1/" office:version="1.2">
 <office:meta>
  <meta:generator>ZEP 3.5</meta:generator>
  <dc:title>Brief</dc:title>
  <dc:language>de-DE</dc:language>
 </office:meta>
</office:document-meta>
)")
        .toUtf8();
}

// A4 with the margins of a German business letter; the address block sits where a window
// envelope shows it.
QByteArray stylesXml() {
    return QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document-styles xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0" office:version="1.2">
 <office:font-face-decls>
  <style:font-face style:name="Liberation Sans" svg:font-family="'Liberation Sans'" style:font-family-generic="swiss" style:font-pitch="variable"/>
 </office:font-face-decls>
 <office:styles>
  <style:default-style style:family="paragraph">
   <style:paragraph-properties fo:margin-top="0cm" fo:margin-bottom="0cm"/>
   <style:text-properties style:font-name="Liberation Sans" fo:font-size="11pt" fo:language="de" fo:country="DE"/>
  </style:default-style>
  <style:style style:name="Standard" style:family="paragraph" style:class="text"/>
  <style:style style:name="Absender" style:family="paragraph" style:parent-style-name="Standard">
   <style:paragraph-properties fo:margin-bottom="0.4cm"/>
   <style:text-properties fo:font-size="8pt"/>
  </style:style>
  <style:style style:name="Anschrift" style:family="paragraph" style:parent-style-name="Standard"/>
  <style:style style:name="Datum" style:family="paragraph" style:parent-style-name="Standard">
   <style:paragraph-properties fo:text-align="end" fo:margin-top="1.5cm" fo:margin-bottom="0.8cm"/>
  </style:style>
  <style:style style:name="Betreff" style:family="paragraph" style:parent-style-name="Standard">
   <style:paragraph-properties fo:margin-bottom="0.8cm"/>
   <style:text-properties fo:font-weight="bold"/>
  </style:style>
  <style:style style:name="Brieftext" style:family="paragraph" style:parent-style-name="Standard">
   <style:paragraph-properties fo:margin-bottom="0.4cm"/>
  </style:style>
 </office:styles>
 <office:automatic-styles>
  <style:page-layout style:name="A4">
   <style:page-layout-properties fo:page-width="21cm" fo:page-height="29.7cm" style:print-orientation="portrait"
    fo:margin-top="2.7cm" fo:margin-bottom="2cm" fo:margin-left="2.5cm" fo:margin-right="2cm"/>
  </style:page-layout>
 </office:automatic-styles>
 <office:master-styles>
  <style:master-page style:name="Standard" style:page-layout-name="A4"/>
 </office:master-styles>
</office:document-styles>
)")
        .toUtf8();
}

QByteArray contentXml() {
    return QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0" office:version="1.2">
 <office:body>
  <office:text>
   <text:p text:style-name="Absender">Absender · Straße Hausnummer · PLZ Ort</text:p>
   <text:p text:style-name="Anschrift">Firma</text:p>
   <text:p text:style-name="Anschrift">Vorname Name</text:p>
   <text:p text:style-name="Anschrift">Straße Hausnummer</text:p>
   <text:p text:style-name="Anschrift">PLZ Ort</text:p>
   <text:p text:style-name="Datum">Ort, TT.MM.JJJJ</text:p>
   <text:p text:style-name="Betreff">Betreff</text:p>
   <text:p text:style-name="Brieftext">Sehr geehrte Damen und Herren,</text:p>
   <text:p text:style-name="Brieftext">Text</text:p>
   <text:p text:style-name="Brieftext">Mit freundlichen Grüßen</text:p>
  </office:text>
 </office:body>
</office:document-content>
)")
        .toUtf8();
}

} // namespace

QByteArray plainLetterTemplate() {
    return QStringLiteral("Absender · Straße Hausnummer · PLZ Ort\n"
                          "\n"
                          "Firma\n"
                          "Vorname Name\n"
                          "Straße Hausnummer\n"
                          "PLZ Ort\n"
                          "\n"
                          "                                                  Ort, TT.MM.JJJJ\n"
                          "\n"
                          "Betreff\n"
                          "\n"
                          "Sehr geehrte Damen und Herren,\n"
                          "\n"
                          "Text\n"
                          "\n"
                          "Mit freundlichen Grüßen\n")
        .toUtf8();
}

QByteArray odfLetterTemplate() {
    // The package rule: "mimetype" comes first and is stored uncompressed, so that the type can be
    // read at a fixed offset.
    ZipWriter zip;
    zip.addFile(QStringLiteral("mimetype"), QByteArrayLiteral("application/vnd.oasis.opendocument.text"));
    zip.addFile(QStringLiteral("META-INF/manifest.xml"), manifestXml());
    zip.addFile(QStringLiteral("meta.xml"), metaXml());
    zip.addFile(QStringLiteral("styles.xml"), stylesXml());
    zip.addFile(QStringLiteral("content.xml"), contentXml());
    return zip.archive();
}

} // namespace zep
