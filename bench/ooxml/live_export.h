#pragma once
// 65,500 rows x 10 mixed columns of a live query exported through the dataset export of api
// (xlTransmitDataset) into a report template, side by side with libxlsxwriter writing the same
// rows of the same open query. Prints the xlsx_export_live_* lines.

void runLiveExport(const char* conninfo);
