// Prints what @kenjiuno/msgreader reads from an Outlook item file, as one JSON object on standard output:
// the class, subject, sender, bodies, recipients and attachments (names, sizes, attached messages).
// Usage: node msgdump.js FILE.msg [ansi-encoding]
'use strict';
const fs = require('fs');
const path = require('path');
const MsgReader = require(path.join(__dirname, 'node_modules', '@kenjiuno', 'msgreader')).default;

function describe(reader, data) {
    const attachments = (data.attachments || []).map((attachment) => {
        const entry = { name: attachment.fileName || attachment.name || '', embedded: !!attachment.innerMsgContent };
        if (attachment.innerMsgContent) {
            entry.subject = (attachment.innerMsgContentFields || {}).subject || '';
        } else {
            entry.size = reader.getAttachment(attachment).content.length;
        }
        return entry;
    });
    return {
        messageClass: data.messageClass || '',
        subject: data.subject || '',
        senderName: data.senderName || '',
        senderEmail: data.senderEmail || data.senderSmtpAddress || '',
        body: data.body || '',
        hasHtml: !!(data.bodyHtml || data.html),
        hasRtf: !!data.compressedRtf,
        recipients: (data.recipients || []).map((r) => ({ name: r.name || '', email: r.email || r.smtpAddress || '', type: r.recipType || '' })),
        attachments,
    };
}

const file = process.argv[2];
const bytes = fs.readFileSync(file);
const reader = new MsgReader(bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.length));
if (process.argv[3]) reader.parserConfig = { ansiEncoding: process.argv[3] };
const data = reader.getFileData();
if (data.error) {
    process.stdout.write(JSON.stringify({ error: data.error }) + '\n');
    process.exit(2);
}
process.stdout.write(JSON.stringify(describe(reader, data)) + '\n');
