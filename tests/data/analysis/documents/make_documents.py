#!/usr/bin/env python3
"""Writes the document fixtures of the document-reading tests.

Run from this folder; the encrypted PDF needs qpdf. The files are kept in the
repository, so the tests need neither Python nor qpdf.
"""
import subprocess
import zipfile

PAGES = [
    "Annual report of the harbour office.",
    "The board met four times during the year.",
    "Our volunteers recieved an award for their work.",  # a typo on page 3
    "Contact the office for printed copies.",
]


def pdf(pages, path, with_text=True):
    objects = []
    kids = []
    for i, text in enumerate(pages):
        content = f"BT /F1 12 Tf 72 720 Td ({text}) Tj ET" if with_text else "0 0 1 rg 72 72 200 200 re f"
        stream = f"<< /Length {len(content)} >>\nstream\n{content}\nendstream"
        objects.append(stream)
        content_id = len(objects) + 3
        page = f"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents {content_id} 0 R /Resources << /Font << /F1 3 0 R >> >> >>"
        objects.append(page)
        kids.append(len(objects) + 3)
    head = [
        "<< /Type /Catalog /Pages 2 0 R >>",
        f"<< /Type /Pages /Kids [{' '.join(f'{k} 0 R' for k in kids)}] /Count {len(kids)} >>",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
    ]
    body = b"%PDF-1.4\n"
    offsets = []
    for n, obj in enumerate(head + objects, start=1):
        offsets.append(len(body))
        body += f"{n} 0 obj\n{obj}\nendobj\n".encode("latin-1")
    xref = len(body)
    body += f"xref\n0 {len(offsets) + 1}\n0000000000 65535 f \n".encode()
    for off in offsets:
        body += f"{off:010d} 00000 n \n".encode()
    body += f"trailer\n<< /Size {len(offsets) + 1} /Root 1 0 R >>\nstartxref\n{xref}\n%%EOF\n".encode()
    with open(path, "wb") as f:
        f.write(body)


def office(path, members):
    with zipfile.ZipFile(path, "w") as z:
        for name, data, method in members:
            z.writestr(name, data, compress_type=method)


pdf(PAGES, "report.pdf")
pdf(PAGES[:2], "scanned.pdf", with_text=False)
subprocess.run(["qpdf", "--encrypt", "user", "owner", "256", "--", "report.pdf", "encrypted.pdf"], check=True)
with open("report.pdf", "rb") as f:
    data = f.read()
with open("damaged.pdf", "wb") as f:
    f.write(data[:300] + b"\x00garbage" * 20)

office("letter.docx", [
    ("[Content_Types].xml", '<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"/>', zipfile.ZIP_DEFLATED),
    ("word/document.xml",
     '<?xml version="1.0" encoding="UTF-8"?>'
     '<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:body>'
     '<w:p><w:r><w:t>Dear members,</w:t></w:r></w:p>'
     '<w:p><w:r><w:t xml:space="preserve">the meeting is </w:t></w:r><w:r><w:t>postponed</w:t></w:r>'
     '<w:r><w:tab/><w:t>untill</w:t></w:r><w:r><w:delText>removed</w:delText></w:r>'
     '<w:r><w:instrText> PAGE </w:instrText></w:r><w:r><w:t xml:space="preserve"> further notice.</w:t></w:r></w:p>'
     '</w:body></w:document>', zipfile.ZIP_DEFLATED),
])

office("minutes.odt", [
    ("mimetype", "application/vnd.oasis.opendocument.text", zipfile.ZIP_STORED),
    ("content.xml",
     '<?xml version="1.0" encoding="UTF-8"?>'
     '<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
     'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"><office:body><office:text>'
     '<text:tracked-changes><text:changed-region><text:p>deleted words</text:p></text:changed-region></text:tracked-changes>'
     '<text:h>Minutes</text:h><text:p>The <text:span>comittee</text:span><text:s/>agreed.'
     '<office:annotation><text:p>a comment</text:p></office:annotation></text:p>'
     '<text:p>Next<text:line-break/>meeting</text:p>'
     '</office:text></office:body></office:document-content>', zipfile.ZIP_DEFLATED),
])
