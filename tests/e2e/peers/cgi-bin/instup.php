<?php
// The report server: keeps each request's query as PHP decoded it, one JSON
// object per line, for the scenarios to read. The wizard sends Windows-1252
// bytes; values that are not UTF-8 are converted from it, so an "ä" reads as
// "ä" in the scenario.
function as_utf8($value) {
    if (is_array($value)) return array_map('as_utf8', $value);
    return preg_match('//u', $value) ? $value : iconv('CP1252', 'UTF-8//IGNORE', $value);
}
$run = getenv('KV_BUILD_DIR') . '/e2e';
$line = json_encode(as_utf8($_GET), JSON_UNESCAPED_SLASHES | JSON_UNESCAPED_UNICODE);
file_put_contents($run . '/reports.jsonl', $line . "\n", FILE_APPEND | LOCK_EX);
header('Content-Type: text/html; charset=windows-1252');
echo "<html><body>OK</body></html>\n";
