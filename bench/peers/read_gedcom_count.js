// Peer benchmark: parses a GEDCOM file with the npm package read-gedcom and prints the
// individual and family counts. Usage: node read_gedcom_count.js MODULES_DIR FILE
const path = require('path');
const fs = require('fs');
const { readGedcom } = require(path.join(process.argv[2], 'read-gedcom'));
const bytes = fs.readFileSync(process.argv[3]);
const buffer = bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.byteLength);
const gedcom = readGedcom(buffer);
console.log(`individuals ${gedcom.getIndividualRecord().length} families ${gedcom.getFamilyRecord().length}`);
