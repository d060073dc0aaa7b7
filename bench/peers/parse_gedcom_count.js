// Peer benchmark: parses a GEDCOM file with the npm package parse-gedcom and prints the
// individual and family counts. Usage: node parse_gedcom_count.js MODULES_DIR FILE
const path = require('path');
const fs = require('fs');
const { parse } = require(path.join(process.argv[2], 'parse-gedcom'));
const tree = parse(fs.readFileSync(process.argv[3], 'utf8'));
let individuals = 0;
let families = 0;
for (const node of tree.children) {
  if (node.type === 'INDI') individuals++;
  else if (node.type === 'FAM') families++;
}
console.log(`individuals ${individuals} families ${families}`);
